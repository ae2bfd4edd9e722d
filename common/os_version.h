// Classification of the running Windows version into OsVersionCode, and the start-up
// administrator test: both the installer and the uninstaller begin with them.
#pragma once

#include <cstdint>

#include "common/os_family.h"

namespace corvalis {

// What the version queries returned; filled from GetVersionExA on Windows.
struct OsVersionData {
  bool queryOk = false;
  std::uint32_t platformId = 0;  // 1 = 9x family, 2 = NT family
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  bool extendedOk = false;       // the OSVERSIONINFOEXA query (asked for major 6 only)
  std::uint8_t productType = 0;  // 1 = workstation
};

constexpr std::uint32_t kPlatform9x = 1;
constexpr std::uint32_t kPlatformNt = 2;
constexpr std::uint8_t kProductWorkstation = 1;

int ClassifyOsVersion(const OsVersionData& version);

#ifdef _WIN32
// GetVersionExA, and for major version 6 the product type of the extended query.
OsVersionData QueryOsVersion();

// Opens the local service control manager with full access; only administrators can.
bool IsAdministrator();

// The rights a program of the system with that version code runs with. Systems before
// Windows 2000 have none to test: every program counts as an administrator there, and
// none as elevated. On later ones an administrator's program runs elevated.
struct ProgramRights {
  bool administrator;
  bool elevated;
};
ProgramRights CurrentRights(int osVersionCode);

// Whether anyone could see this program's windows: false in a service's window station or
// the system account's (a deployment service), where a box would wait for ever.
bool HasInteractiveDesktop();
#endif

}  // namespace corvalis
