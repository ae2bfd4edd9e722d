// Start-up checks against the running system.
#pragma once

#include "installer/package/os_version.h"

namespace corvalis {

// GetVersionExA, and for major version 6 the product type of the extended query.
OsVersionData QueryOsVersion();

// Opens the local service control manager with full access; only administrators can.
bool IsAdministrator();

// Creates the single-instance mutex and keeps it for the life of the process; false
// when another installer already holds it.
bool ClaimInstanceMutex();

}  // namespace corvalis
