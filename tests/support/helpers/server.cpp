// An in-process server whose registration is visible: DllRegisterServer records the
// DLL's own path as a value under HKCU\Software\CorvalisEngineTests\Servers, and
// DllUnregisterServer removes it.
#include <windows.h>

namespace {

const char kKey[] = "Software\\CorvalisEngineTests\\Servers";
HMODULE self = nullptr;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) self = instance;
  return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(self, path, MAX_PATH);
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return E_FAIL;
  }
  const char registered[] = "registered";
  RegSetValueExA(key, path, 0, REG_SZ, reinterpret_cast<const BYTE*>(registered),
                 sizeof registered);
  RegCloseKey(key);
  return S_OK;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(self, path, MAX_PATH);
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
    return S_OK;
  }
  RegDeleteValueA(key, path);
  RegCloseKey(key);
  return S_OK;
}
