// The order of the setup steps after the package is prepared, in one place: the
// configuration steps, then the wizard and the installation.
#pragma once

#include "installer/install_session.h"

namespace corvalis {

// Reads the chosen language file and the script, checks the requirements, runs the
// wizard and the installation; the run's exit code.
int RunSetup(InstallSession& session);

}  // namespace corvalis
