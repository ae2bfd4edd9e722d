// The uninstaller program the installer carries, as built with it.
#pragma once

#include <string>

namespace corvalis {

// Its bytes, whole; empty when the resource is missing or doesn't inflate to its length.
std::string UninstallerImage();

}  // namespace corvalis
