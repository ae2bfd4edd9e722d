// The running system's folders, for path variables and the system operations.
#pragma once

#include <cstdint>
#include <string>

#include "common/path_variables.h"

namespace corvalis {

// A path the system gives in UTF-16, as the ANSI calls can take it. A name outside the
// ANSI code page (a Polish user name on a Western European system) is replaced by its
// short (8.3) form, which is ASCII; without a short form the path can't be used: empty.
// Every folder the programs ask the system for comes through here.
std::string AnsiSystemPath(const wchar_t* path);

// The running program's own file.
std::string OwnProgramPath();

// The shell's special folder with that CSIDL number, ending in "\"; empty when the
// shell has none.
std::string SpecialFolder(int csidl);
// The PureBasic tool's folder from its registered open command, ending in "\", or empty.
std::string PureBasicFolder();
// The user's temporary folder as GetTempPath gives it, ending in "\" ("\" alone when
// the query fails or the folder has no ANSI name).
std::string TemporaryFolder();
// The same folder in its long form, ending in "\"; empty when the query fails.
std::string TempFolder();

// The free bytes available to the user on the drive of path (its first three
// characters, such as "C:\"); false when the query fails.
bool FreeSpaceOfDrive(const std::string& path, std::uint64_t* bytes);

// The three lookups above as a FolderSource for PathContext::Folders.
const FolderSource& SystemFolders();


}  // namespace corvalis
