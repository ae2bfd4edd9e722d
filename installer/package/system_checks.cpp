#include "installer/package/system_checks.h"

#include <windows.h>

#include "installer/package/messages.h"

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

bool ClaimInstanceMutex() {
  // The handle is deliberately never closed: holding it is what keeps others out.
  SetLastError(ERROR_SUCCESS);
  CreateMutexA(nullptr, FALSE, kInstanceMutexName);
  return GetLastError() != ERROR_ALREADY_EXISTS;
}

}  // namespace corvalis
