#include "installer/engine/special_folders.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "installer/engine/association_plan.h"

namespace corvalis {
namespace {

constexpr REGSAM kAllAccess = 0xF003F;
constexpr DWORD kCommandBytes = 522;

std::string TrimSpaces(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

class Win32FolderSource final : public FolderSource {
 public:
  std::string SpecialFolder(int csidl) const override { return corvalis::SpecialFolder(csidl); }
  std::string TempFolder() const override { return corvalis::TempFolder(); }
  std::string PureBasicFolder() const override { return corvalis::PureBasicFolder(); }
};

}  // namespace

bool VersionBuildBitsSet() { return ((GetVersion() >> 16) & 0xFF) != 0; }

std::string SpecialFolder(int csidl) {
  LPITEMIDLIST items = nullptr;
  if (SHGetSpecialFolderLocation(nullptr, csidl, &items) != S_OK || !items) return std::string();
  char buffer[270] = {};
  const BOOL ok = SHGetPathFromIDListA(items, buffer);
  CoTaskMemFree(items);
  if (!ok) return std::string();
  std::string path = buffer;
  if (!path.empty() && path.back() != '\\') path += '\\';
  return TrimSpaces(path);
}

std::string PureBasicFolder() {
  HKEY root = HKEY_LOCAL_MACHINE;
  const char* keyPath = "Software\\Classes\\PureBasic.exe\\shell\\open\\command";
  if (VersionBuildBitsSet()) {
    root = HKEY_CLASSES_ROOT;
    keyPath = "Applications\\PureBasic.exe\\shell\\open\\command";
  }
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, keyPath, 0, kAllAccess, &key) != ERROR_SUCCESS) return std::string();
  char buffer[kCommandBytes + 1] = {};
  DWORD size = kCommandBytes;
  DWORD type = 0;
  const LONG read = RegQueryValueExA(key, "", nullptr, &type,
                                     reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (read != ERROR_SUCCESS) return std::string();

  const std::string command = buffer;
  const std::size_t open = command.find('"');
  if (open == std::string::npos) return std::string();
  const std::size_t close = command.find('"', open + 1);
  const std::string program =
      command.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
  // A command without a quoted path, or a bare file name, names no folder; "\" alone
  // would make every "<PureBasic>" path point at the drive root.
  std::string folder = FolderPart(program);
  if (folder.empty()) return std::string();
  return folder;
}

std::string TempFolder() {
  char shortPath[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(MAX_PATH, shortPath);
  if (length == 0 || length > MAX_PATH) return std::string();
  std::string path = shortPath;

  // Not exported by the oldest kernels, so looked up rather than linked.
  using GetLongPathNameFn = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto getLong = kernel ? reinterpret_cast<GetLongPathNameFn>(
                              reinterpret_cast<void*>(GetProcAddress(kernel, "GetLongPathNameA")))
                        : nullptr;
  if (getLong) {
    char longPath[MAX_PATH + 1] = {};
    const DWORD longLength = getLong(path.c_str(), longPath, MAX_PATH);
    if (longLength > 0 && longLength <= MAX_PATH) path = longPath;
  }
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path;
}

const FolderSource& SystemFolders() {
  static const Win32FolderSource source;
  return source;
}

}  // namespace corvalis
