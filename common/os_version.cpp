#include "common/os_version.h"

namespace corvalis {

int ClassifyOsVersion(const OsVersionData& v) {
  if (!v.queryOk) return kOsUnknown;
  if (v.platformId == kPlatform9x) {
    switch (v.minor) {
      case 0: return kOsWindows95;
      case 10: return kOsWindows98;
      case 90: return kOsWindowsMe;
      default: return kOsUnknown;
    }
  }
  if (v.platformId != kPlatformNt) return kOsUnknown;
  switch (v.major) {
    case 3: return kOsNt3;
    case 4: return v.minor == 0 ? kOsNt4 : kOsUnknown;
    case 5:
      switch (v.minor) {
        case 0: return kOsWindows2000;
        case 1: return kOsWindowsXp;
        case 2: return kOsServer2003;
        default: return kOsUnknown;
      }
    case 6: return (!v.extendedOk || v.productType == kProductWorkstation) ? kOsVistaWorkstation : kOsVistaServer;
    default: return kOsUnknown;
  }
}

}  // namespace corvalis
