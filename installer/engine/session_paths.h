// The installer's side of path expansion: the context built from its session. The
// uninstaller builds its own PathContext from its data file instead.
#pragma once

#include <string>

#include "common/path_variables.h"
#include "installer/install_session.h"

namespace corvalis {

// System folders, the operations' OsVersionCode, InstallPath, StartMenuGroupPath and the
// script's GeneralInformation values as the session holds them at this moment.
PathContext SessionPathContext(const InstallSession& session);

}  // namespace corvalis
