#include "tests/support/installed_state.h"

#include <windows.h>
#include <shlobj.h>

namespace installer_e2e {

std::string RegistryValue(HKEY root, const std::string& key, const std::string& name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return "<no key>";
  char data[1024] = "";
  DWORD size = sizeof data - 1;
  DWORD type = 0;
  const LONG result = RegQueryValueExA(opened, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(opened);
  if (result != ERROR_SUCCESS) return "<none>";
  if (type == REG_DWORD) return std::to_string(*reinterpret_cast<DWORD*>(data));
  return data;
}

bool KeyExists(HKEY root, const std::string& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

LinkInfo ReadShellLink(const std::string& path) {
  LinkInfo info;
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t wide[MAX_PATH];
      MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
      if (SUCCEEDED(file->Load(wide, STGM_READ))) {
        char text[MAX_PATH] = "";
        link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
        info.target = text;
        link->GetWorkingDirectory(text, MAX_PATH);
        info.workingFolder = text;
        link->GetIconLocation(text, MAX_PATH, &info.iconIndex);
        info.iconFile = text;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return info;
}

}  // namespace installer_e2e
