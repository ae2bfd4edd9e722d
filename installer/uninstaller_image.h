// The uninstaller program the installer carries, as built with it.
#pragma once

#include <string>

#include "installer/install_session.h"

namespace corvalis {

// The package's own uninstaller when it carries one, else the built-in one's bytes, whole;
// empty when that resource is missing or doesn't inflate to its length.
std::string UninstallerImage(const InstallSession& session);

}  // namespace corvalis
