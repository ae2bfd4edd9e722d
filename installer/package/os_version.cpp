#include "installer/package/os_version.h"

namespace corvalis {

int ClassifyOsVersion(const OsVersionData& v) {
  constexpr int kUnknown = 100;
  if (!v.queryOk) return kUnknown;
  if (v.platformId == kPlatform9x) {
    switch (v.minor) {
      case 0: return 10;
      case 10: return 30;
      case 90: return 40;
      default: return kUnknown;
    }
  }
  if (v.platformId != kPlatformNt) return kUnknown;
  switch (v.major) {
    case 3: return 5;
    case 4: return v.minor == 0 ? 20 : kUnknown;
    case 5:
      switch (v.minor) {
        case 0: return 50;
        case 1: return 60;
        case 2: return 65;
        default: return kUnknown;
      }
    case 6: return (!v.extendedOk || v.productType == kProductWorkstation) ? 70 : 75;
    default: return kUnknown;
  }
}

}  // namespace corvalis
