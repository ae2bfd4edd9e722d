// Copying the package out of the installer: the normal preparation and the "-u" export.
#pragma once

#include <string>

namespace corvalis {

// Checks the package, creates the work folder, copies both archives out, unpacks the
// information archive and lists the languages. Returns only when all of it succeeded;
// every failure ends the installer.
void PreparePackage();

// Writes the application archive unchanged as folder + "ProgramData.zip". Returns 1 when
// it ran, 0 when folder is blank (nothing written). Failures and Cancel end the installer.
int ExportApplicationArchive(const std::string& folder);

}  // namespace corvalis
