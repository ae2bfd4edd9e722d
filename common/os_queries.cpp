#include <windows.h>

#include "common/os_family.h"
#include "common/os_version.h"

namespace corvalis {

OsVersionData QueryOsVersion() {
  OsVersionData data;
  OSVERSIONINFOA info = {};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!GetVersionExA(&info)) return data;
  data.queryOk = true;
  data.platformId = info.dwPlatformId;
  data.major = info.dwMajorVersion;
  data.minor = info.dwMinorVersion;
  if (data.major == 6) {
    OSVERSIONINFOEXA extended = {};
    extended.dwOSVersionInfoSize = sizeof(extended);
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended))) {
      data.extendedOk = true;
      data.productType = extended.wProductType;
    }
  }
  return data;
}

bool IsAdministrator() {
  // Standard rights required plus connect, create-service, enumerate-service and lock.
  constexpr DWORD kFullManagerAccess = 0x000F000F;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, kFullManagerAccess);
  if (!manager) return false;
  CloseServiceHandle(manager);
  return true;
}

ProgramRights CurrentRights(int osVersionCode) {
  if (IsBefore2000(osVersionCode)) return {true, false};
  const bool administrator = IsAdministrator();
  return {administrator, administrator};
}

bool HasInteractiveDesktop() {
  USEROBJECTFLAGS flags = {};
  HWINSTA station = GetProcessWindowStation();
  if (!station || !GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof flags, nullptr)) return true;
  return (flags.dwFlags & WSF_VISIBLE) != 0;
}

}  // namespace corvalis
