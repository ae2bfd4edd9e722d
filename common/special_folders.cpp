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

std::string AnsiSystemPath(const wchar_t* path) {
  char ansi[MAX_PATH * 2] = {};
  BOOL lost = FALSE;
  if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, path, -1, ansi, sizeof ansi, nullptr, &lost) > 0 && !lost) {
    return ansi;
  }
  wchar_t shortPath[MAX_PATH * 2] = {};
  const DWORD length = GetShortPathNameW(path, shortPath, MAX_PATH * 2);
  if (length == 0 || length >= MAX_PATH * 2) return std::string();
  lost = FALSE;
  if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, shortPath, -1, ansi, sizeof ansi, nullptr, &lost) <= 0 ||
      lost) {
    return std::string();  // no short names on that volume
  }
  return ansi;
}

// Windows 9x has the wide calls only as stubs that fail: there the ANSI call answers.
std::string OwnProgramPath() {
  wchar_t path[MAX_PATH * 2] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
  if (length > 0 && length < MAX_PATH * 2) return AnsiSystemPath(path);
  char ansi[MAX_PATH * 2] = {};
  const DWORD ansiLength = GetModuleFileNameA(nullptr, ansi, sizeof ansi);
  return ansiLength > 0 && ansiLength < sizeof ansi ? ansi : std::string();
}

std::string SpecialFolder(int csidl) {
  LPITEMIDLIST items = nullptr;
  if (SHGetSpecialFolderLocation(nullptr, csidl, &items) != S_OK || !items) return std::string();
  wchar_t buffer[MAX_PATH + 10] = {};
  char ansi[MAX_PATH + 10] = {};
  std::string path;
  if (SHGetPathFromIDListW(items, buffer)) {
    path = AnsiSystemPath(buffer);
  } else if (SHGetPathFromIDListA(items, ansi)) {
    path = ansi;
  }
  CoTaskMemFree(items);
  if (path.empty()) return std::string();
  if (path.back() != '\\') path += '\\';
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
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, path);
  if (length > 0 && length <= MAX_PATH) return WithTrailingBackslash(AnsiSystemPath(path));
  char ansi[MAX_PATH + 1] = {};
  const DWORD ansiLength = GetTempPathA(sizeof ansi, ansi);
  return WithTrailingBackslash(ansiLength > 0 && ansiLength < sizeof ansi ? ansi : "");
}

std::string TempFolder() {
  const std::string path = TemporaryFolder();
  if (path == "\\") return std::string();
  // Not exported by the oldest kernels, so looked up rather than linked.
  using GetLongPathNameFn = DWORD(WINAPI*)(LPCWSTR, LPWSTR, DWORD);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto getLong = kernel ? reinterpret_cast<GetLongPathNameFn>(
                              reinterpret_cast<void*>(GetProcAddress(kernel, "GetLongPathNameW")))
                        : nullptr;
  wchar_t wide[MAX_PATH + 1] = {};
  wchar_t longPath[MAX_PATH + 1] = {};
  if (!getLong || !GetTempPathW(MAX_PATH + 1, wide)) return path;
  const DWORD length = getLong(wide, longPath, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return path;
  // A long form without an ANSI name gives way to the short one it came from.
  const std::string folder = AnsiSystemPath(longPath);
  return folder.empty() ? path : WithTrailingBackslash(folder);
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
