// Deleting a folder with everything in it.
#pragma once

#include <string>

namespace corvalis {

// Deletes the files of folder (ending in "\" or not), then the folder itself. recursive:
// subfolders at any depth go the same way; without it a folder with subfolders stays,
// emptied of its files. force: attributes are cleared first, so read-only, hidden and
// system files go too. Junctions go as links, never followed. A folder the folder-tree
// rule refuses (IsRemovableFolderTree) is left alone. 1 when the folder is gone afterwards.
int DeleteFolder(const std::string& folder, bool recursive, bool force);

// DeleteFolder, recursive and forced.
void DeleteFolderTree(const std::string& folder);

}  // namespace corvalis
