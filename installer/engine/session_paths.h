// The installer's side of path expansion: the context built from its session. The
// uninstaller builds its own PathContext from its data file instead.
#pragma once

#include <string>

#include "installer/engine/path_variables.h"

namespace corvalis {

// System folders, OsVersionCode, InstallPath, StartMenuGroupPath and the script's
// GeneralInformation values as the session holds them at this moment.
PathContext SessionPathContext();

// ExpandAll and PathVariableFolder over SessionPathContext().
std::string ExpandAll(const std::string& text);
std::string PathVariableFolder(int code);

}  // namespace corvalis
