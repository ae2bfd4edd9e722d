#include "common/folder_tree.h"

#include <windows.h>

#include "common/ansi_text.h"
#include "common/long_paths.h"

namespace corvalis {

int DeleteFolder(const std::string& folder, bool recursive, bool force) {
  const std::string base = WithTrailingBackslash(folder);
  for (const FolderItem& item : ReadFolderItems(base)) {
    const std::string path = base + item.Name;
    if (item.Attributes & FILE_ATTRIBUTE_REPARSE_POINT && item.Attributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A junction goes as a link; what it points to is not ours to empty.
      if (recursive) RemoveFolderPath(path);
    } else if (item.Attributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (recursive) DeleteFolder(path, recursive, force);
    } else {
      if (force) SetPathAttributes(path, FILE_ATTRIBUTE_NORMAL);
      DeletePath(path);
    }
  }
  if (force) SetPathAttributes(base, FILE_ATTRIBUTE_NORMAL);
  RemoveFolderPath(base);
  return PathAttributes(base) == INVALID_FILE_ATTRIBUTES ? 1 : 0;
}

void DeleteFolderTree(const std::string& folder) { DeleteFolder(folder, true, true); }

}  // namespace corvalis
