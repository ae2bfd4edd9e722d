#include <windows.h>

#include "tools/xtrahost/xtra_session.h"

namespace {

template <class T>
bool Resolve(HMODULE module, const char* name, T* out, std::string* error) {
  *out = reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  if (!*out) *error = std::string("the Xtra doesn't export ") + name;
  return *out != nullptr;
}

}  // namespace

bool LoadXtraModule(const std::string& path, XtraModule* module, std::string* error) {
  *module = XtraModule{};
  HMODULE handle = LoadLibraryA(path.c_str());
  if (!handle) {
    *error = "cannot load " + path + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  module->handle = handle;
  if (Resolve(handle, "DllGetClassObject", &module->getClassObject, error) &&
      Resolve(handle, "DllCanUnloadNow", &module->canUnloadNow, error) &&
      Resolve(handle, "DllGetClassForm", &module->getClassForm, error) &&
      Resolve(handle, "DllGetInterface", &module->getInterface, error) &&
      Resolve(handle, "DllGetClassInfo", &module->getClassInfo, error)) {
    return true;
  }
  UnloadXtraModule(module);
  return false;
}

void UnloadXtraModule(XtraModule* module) {
  if (module->handle) FreeLibrary(static_cast<HMODULE>(module->handle));
  *module = XtraModule{};
}
