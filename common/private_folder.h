// A folder that only administrators and the system may change, for the work an elevated
// program does in the user's temporary folder: any program of that user can write there
// without elevation, and could otherwise swap a file between its writing and its use.
#pragma once

#include <string>

namespace corvalis {

// Owner Administrators; full access for Administrators and SYSTEM only, inherited by
// everything made inside; nothing inherited from the temporary folder above.
constexpr char kPrivateFolderSddl[] = "O:BAG:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";

// The names' beginnings in the temporary folder: the installer's work folder lies in one
// such folder, the uninstaller's temporary copy in another.
constexpr char kInstallerPrivatePrefix[] = "CorvalisSetup-";
constexpr char kUninstallerPrivatePrefix[] = "CorvalisUninstall-";

// That descriptor in binary form, to be released with LocalFree; null when it can't be built.
void* BuildPrivateFolderDescriptor();

// Creates folder (ending in "\\" or not) new, with that descriptor. False when a file or
// folder of that name is there already, which is never taken over, or it can't be made.
bool CreatePrivateFolder(const std::string& folder);

}  // namespace corvalis
