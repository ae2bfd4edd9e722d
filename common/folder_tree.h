// Deleting a folder with everything in it.
#pragma once

#include <string>

namespace corvalis {

// Deletes folder (ending in "\" or not) with everything in it, read-only, hidden and
// system files included.
void DeleteFolderTree(const std::string& folder);

}  // namespace corvalis
