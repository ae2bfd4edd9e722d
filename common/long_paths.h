// Files and folders by ANSI path, of any length. A path too long for the ANSI calls (a
// package's deep folders, or an install folder nested deep already) goes through the
// wide-character calls with the "\\?\" prefix, which Windows XP has as well.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace corvalis {

// Wide texts live in vectors: std::wstring would bring the C++ runtime's wide streams
// into every program, several times the size of all of this. Always NUL-terminated.
using WideText = std::vector<wchar_t>;
// text in codePage (CP_ACP, CP_UTF8) as a wide text; NUL bytes inside it are kept.
WideText ToWide(const std::string& text, unsigned codePage);
// The exact ANSI spelling of a wide text; false when the code page has none.
bool ToAnsiExactly(const WideText& wide, std::string* ansi);

// INVALID_FILE_ATTRIBUTES when nothing is at path.
DWORD PathAttributes(const std::string& path);
bool SetPathAttributes(const std::string& path, DWORD attributes);
bool DeletePath(const std::string& file);
// An empty folder.
bool RemoveFolderPath(const std::string& folder);
// The folder and every missing folder above it; true when it exists afterwards.
bool CreateFolderPath(const std::string& folder);
// CreateFileA's way, for any length.
HANDLE OpenPath(const std::string& path, DWORD access, DWORD share, DWORD disposition);
// MoveFileExA's way, for any length (a null destination with MOVEFILE_DELAY_UNTIL_REBOOT
// deletes the source at the next restart).
bool MovePath(const std::string& source, const std::string* destination, DWORD flags);

struct FolderItem {
  std::string Name;  // ANSI; the short name where the long one has no ANSI spelling
  DWORD Attributes = 0;
  std::uint64_t Bytes = 0;
};
// What a folder holds, without "." and "..".
std::vector<FolderItem> ReadFolderItems(const std::string& folder);

}  // namespace corvalis
