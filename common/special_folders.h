// The running system's folders, for path variables and the system operations.
#pragma once

#include <cstdint>
#include <string>

#include "common/path_variables.h"

namespace corvalis {

// The shell's special folder with that CSIDL number, ending in "\"; empty when the
// shell has none.
std::string SpecialFolder(int csidl);
// The PureBasic tool's folder from its registered open command, ending in "\", or empty.
std::string PureBasicFolder();
// The user's temporary folder as GetTempPathA gives it, ending in "\" ("\" alone when
// the query fails).
std::string TemporaryFolder();
// The same folder in its long form, ending in "\"; empty when the query fails.
std::string TempFolder();

// The free bytes available to the user on the drive of path (its first three
// characters, such as "C:\"); false when the query fails.
bool FreeSpaceOfDrive(const std::string& path, std::uint64_t* bytes);

// The three lookups above as a FolderSource for PathContext::Folders.
const FolderSource& SystemFolders();


}  // namespace corvalis
