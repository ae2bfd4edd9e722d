#include "common/folder_tree.h"

#include <windows.h>

#include "common/ansi_text.h"

namespace corvalis {

int DeleteFolder(const std::string& folder, bool recursive, bool force) {
  const std::string base = WithTrailingBackslash(folder);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((base + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = base + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT &&
          found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        // A junction goes as a link; what it points to is not ours to empty.
        if (recursive) RemoveDirectoryA(path.c_str());
      } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (recursive) DeleteFolder(path, recursive, force);
      } else {
        if (force) SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  if (force) SetFileAttributesA(base.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(base.c_str());
  return GetFileAttributesA(base.c_str()) == INVALID_FILE_ATTRIBUTES ? 1 : 0;
}

void DeleteFolderTree(const std::string& folder) { DeleteFolder(folder, true, true); }

}  // namespace corvalis
