#include "common/special_folders.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "common/ansi_text.h"
#include "common/os_family.h"

namespace corvalis {
namespace {

constexpr REGSAM kAllAccess = 0xF003F;
constexpr DWORD kCommandBytes = 522;

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

std::string TemporaryFolder() {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof path, path);
  return WithTrailingBackslash(std::string(path, length < sizeof path ? length : 0));
}

std::string TempFolder() {
  std::string path = TemporaryFolder();
  if (path == "\\") return std::string();

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
  return WithTrailingBackslash(path);
}

bool FreeSpaceOfDrive(const std::string& path, std::uint64_t* bytes) {
  if (path.size() < 3) return false;
  ULARGE_INTEGER available = {};
  if (!GetDiskFreeSpaceExA(path.substr(0, 3).c_str(), &available, nullptr, nullptr)) return false;
  *bytes = available.QuadPart;
  return true;
}

const FolderSource& SystemFolders() {
  static const Win32FolderSource source;
  return source;
}

}  // namespace corvalis
