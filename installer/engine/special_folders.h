// The running system's folders, for path variables and the system operations.
#pragma once

#include <string>

#include "installer/engine/path_variables.h"

namespace corvalis {

// The shell's special folder with that CSIDL number, ending in "\"; empty when the
// shell has none.
std::string SpecialFolder(int csidl);
// The PureBasic tool's folder from its registered open command, ending in "\", or empty.
std::string PureBasicFolder();
// The user's temporary folder in its long form, ending in "\".
std::string TempFolder();

// The three lookups above as a FolderSource for PathContext::Folders.
const FolderSource& SystemFolders();

// True when bits 16 to 23 of GetVersion are not all zero (the NT family's build
// number; 0 on Windows 9x). Chooses the association and PureBasic registry layouts.
bool VersionBuildBitsSet();

}  // namespace corvalis
