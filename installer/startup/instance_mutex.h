// Start-up checks against the running system.
#pragma once

#include "common/os_version.h"

namespace corvalis {

// Creates the single-instance mutex and keeps it for the life of the process; false
// when another installer already holds it.
bool ClaimInstanceMutex();

}  // namespace corvalis
