#include "common/folder_tree.h"

#include <windows.h>

#include <vector>

#include "common/ansi_text.h"
#include "common/long_paths.h"

namespace corvalis {

int DeleteFolder(const std::string& folder, bool recursive, bool force) {
  // A root, a relative path or one that climbs ("C:\x\..") would take what isn't ours.
  if (!IsRemovableFolderTree(folder)) return 0;
  const std::string top = WithTrailingBackslash(folder);
  // Folders in the order they were emptied; removed the other way round, children first.
  // A list instead of recursion: no depth of folders can exhaust the stack.
  std::vector<std::string> pending{top};
  std::vector<std::string> emptied;
  while (!pending.empty()) {
    const std::string base = pending.back();
    pending.pop_back();
    emptied.push_back(base);
    for (const FolderItem& item : ReadFolderItems(base)) {
      const std::string path = base + item.Name;
      if (item.Attributes & FILE_ATTRIBUTE_REPARSE_POINT && item.Attributes & FILE_ATTRIBUTE_DIRECTORY) {
        // A junction goes as a link; what it points to is not ours to empty.
        if (recursive) RemoveFolderPath(path);
      } else if (item.Attributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (recursive) pending.push_back(path + "\\");
      } else {
        if (force) SetPathAttributes(path, FILE_ATTRIBUTE_NORMAL);
        DeletePath(path);
      }
    }
  }
  for (auto it = emptied.rbegin(); it != emptied.rend(); ++it) {
    if (force) SetPathAttributes(*it, FILE_ATTRIBUTE_NORMAL);
    RemoveFolderPath(*it);
  }
  return PathAttributes(top) == INVALID_FILE_ATTRIBUTES ? 1 : 0;
}

void DeleteFolderTree(const std::string& folder) { DeleteFolder(folder, true, true); }

}  // namespace corvalis
