// Copying the package out of the installer: the normal preparation and the "-u" export.
#pragma once

#include <string>

#include "common/exit_codes.h"
#include "installer/install_session.h"

namespace corvalis {

// Checks the package, creates the work folder, copies both archives out, unpacks the
// information archive and lists the languages, in the preparation window. Every failure
// (its message shown) and a Cancel end the run.
Outcome PreparePackage(InstallSession& session);

// Writes the application archive unchanged as folder + "ProgramData.zip" ("ProgramData.7z"
// for a solid package's); nothing for a
// blank folder. Failures and Cancel end the run.
Outcome ExportApplicationArchive(InstallSession& session, const std::string& folder);

}  // namespace corvalis
