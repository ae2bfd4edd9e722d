#include "common/system_dlls.h"

#include <string>

namespace corvalis {

namespace {

constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32

template <typename Fn>
Fn KernelFunction(const char* name) {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  return kernel ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, name))) : nullptr;
}

}  // namespace

void RestrictDllSearchPath() {
  using SetDefaultDirsFn = BOOL(WINAPI*)(DWORD);
  using SetDllDirectoryFn = BOOL(WINAPI*)(LPCSTR);
  if (auto setDefault = KernelFunction<SetDefaultDirsFn>("SetDefaultDllDirectories")) setDefault(kSearchSystem32);
  // An empty text removes the current folder from the search (XP SP1 and later).
  if (auto setDirectory = KernelFunction<SetDllDirectoryFn>("SetDllDirectoryA")) setDirectory("");
}

HMODULE LoadSystemLibrary(const char* fileName) {
  char folder[MAX_PATH];
  UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::string path(folder, length);
  if (path.back() != '\\') path += '\\';
  path += fileName;
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace corvalis
