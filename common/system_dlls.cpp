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

// The LOAD_LIBRARY_SEARCH_* flags came with SetDefaultDllDirectories (Windows 8, or 7 and
// Vista with update KB2533623).
bool SystemFolderSearchAvailable() {
  using SetDefaultDirsFn = BOOL(WINAPI*)(DWORD);
  return KernelFunction<SetDefaultDirsFn>("SetDefaultDllDirectories") != nullptr;
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
  // Where the system can search the system folder alone, the DLL's own imports are taken
  // from there too. Elsewhere (XP) the altered search starts at the DLL's own folder, which
  // holds every system DLL; a loader that prefers any other copy it can find (Wine told to
  // prefer native DLLs) would otherwise still pick one from the current folder.
  const DWORD flags = SystemFolderSearchAvailable() ? kSearchSystem32 : LOAD_WITH_ALTERED_SEARCH_PATH;
  return LoadLibraryExA(path.c_str(), nullptr, flags);
}

}  // namespace corvalis
