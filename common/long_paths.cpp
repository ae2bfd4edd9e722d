#include "common/long_paths.h"

#include <algorithm>

#include "common/ansi_text.h"

namespace corvalis {

namespace {

// CreateDirectoryA stops 12 characters short of MAX_PATH (room for an 8.3 name inside).
constexpr std::size_t kLongFolderChars = MAX_PATH - 12;

bool IsLong(const std::string& path) { return path.size() >= kLongFolderChars; }

WideText Wide(const std::string& ansi) { return ToWide(ansi, CP_ACP); }

// "\\?\C:\..." or "\\?\UNC\server\share\...": the prefix turns off the length limit and
// every rewriting of the path, so it is made whole (no "..", "/" or relative parts) first,
// and whether it is a share's is read from the whole path, not from what came in. A path
// in a namespace already ("\\?\...", "\\.\...") is the system's as it stands.
WideText Extended(const std::string& path) {
  if (HasNamespacePrefix(path)) return Wide(path);
  const WideText wide = Wide(SlashesToBackslashes(path));
  const DWORD length = GetFullPathNameW(wide.data(), 0, nullptr, nullptr);
  if (length == 0) return Wide("");
  WideText full(length + 1, L'\0');
  const DWORD got = GetFullPathNameW(wide.data(), length + 1, full.data(), nullptr);
  if (got == 0 || got > length) return Wide("");
  const bool unc = full[0] == L'\\' && full[1] == L'\\';
  const wchar_t* prefix = unc ? L"\\\\?\\UNC" : L"\\\\?\\";
  // For a share the prefix's "C" takes the place of the path's first backslash.
  WideText extended(prefix, prefix + wcslen(prefix));
  extended.insert(extended.end(), full.begin() + (unc ? 1 : 0), full.begin() + got);
  extended.push_back(L'\0');
  return extended;
}

std::string Narrow(const wchar_t* name, const wchar_t* shortName) {
  BOOL lost = FALSE;
  char ansi[MAX_PATH * 2] = {};
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, -1, ansi, sizeof ansi, nullptr, &lost);
  if (lost && shortName && shortName[0]) {
    WideCharToMultiByte(CP_ACP, 0, shortName, -1, ansi, sizeof ansi, nullptr, nullptr);
  }
  return ansi;
}

}  // namespace

WideText ToWide(const std::string& text, unsigned codePage) {
  const int length = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  WideText wide(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
  if (length > 0) MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

bool ToAnsiExactly(const WideText& wide, std::string* ansi) {
  BOOL lost = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), -1, nullptr, 0, nullptr, &lost);
  if (length <= 0 || lost) return false;
  ansi->assign(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), -1, &(*ansi)[0], length, nullptr, &lost);
  ansi->resize(static_cast<std::size_t>(length) - 1);
  return !lost;
}

DWORD PathAttributes(const std::string& path) {
  return IsLong(path) ? GetFileAttributesW(Extended(path).data()) : GetFileAttributesA(path.c_str());
}

bool SetPathAttributes(const std::string& path, DWORD attributes) {
  return IsLong(path) ? SetFileAttributesW(Extended(path).data(), attributes) != 0
                      : SetFileAttributesA(path.c_str(), attributes) != 0;
}

bool DeletePath(const std::string& file) {
  return IsLong(file) ? DeleteFileW(Extended(file).data()) != 0 : DeleteFileA(file.c_str()) != 0;
}

bool RemoveFolderPath(const std::string& folder) {
  return IsLong(folder) ? RemoveDirectoryW(Extended(folder).data()) != 0 : RemoveDirectoryA(folder.c_str()) != 0;
}

bool CreateFolderPath(const std::string& folder) {
  std::string path = SlashesToBackslashes(folder);
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  const DWORD attributes = PathAttributes(path);
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const std::size_t parent = path.find_last_of('\\');
  // The root of a drive or share stands; anything below it is made from the top down.
  if (parent == std::string::npos || parent < 2) return false;
  if (!CreateFolderPath(path.substr(0, parent))) return false;
  const bool made = IsLong(path) ? CreateDirectoryW(Extended(path).data(), nullptr) != 0
                                 : CreateDirectoryA(path.c_str(), nullptr) != 0;
  return made || GetLastError() == ERROR_ALREADY_EXISTS;
}

HANDLE OpenPath(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
  if (!IsLong(path)) {
    return CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  return CreateFileW(Extended(path).data(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool MovePath(const std::string& source, const std::string* destination, DWORD flags) {
  if (!IsLong(source) && (!destination || !IsLong(*destination))) {
    return MoveFileExA(source.c_str(), destination ? destination->c_str() : nullptr, flags) != 0;
  }
  const WideText to = destination ? Extended(*destination) : WideText();
  return MoveFileExW(Extended(source).data(), destination ? to.data() : nullptr, flags) != 0;
}

std::vector<FolderItem> ReadFolderItems(const std::string& folder) {
  std::vector<FolderItem> items;
  const std::string pattern = WithTrailingBackslash(folder) + "*";
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((IsLong(pattern) ? Extended(pattern) : Wide(pattern)).data(), &found);
  if (search == INVALID_HANDLE_VALUE) return items;
  do {
    if (!wcscmp(found.cFileName, L".") || !wcscmp(found.cFileName, L"..")) continue;
    FolderItem item;
    item.Name = Narrow(found.cFileName, found.cAlternateFileName);
    item.Attributes = found.dwFileAttributes;
    item.Bytes = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    items.push_back(item);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return items;
}

}  // namespace corvalis
