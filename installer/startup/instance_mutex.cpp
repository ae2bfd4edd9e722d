#include "installer/startup/instance_mutex.h"

#include <windows.h>

#include <string>

#include "installer/startup/startup_texts.h"

namespace corvalis {

namespace {

// The handle is deliberately never closed: holding it is what keeps others out. A mutex of
// that name that we may not open is held by another installation too.
bool Claim(const std::string& name) {
  SetLastError(ERROR_SUCCESS);
  const HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  const DWORD error = GetLastError();
  return !(error == ERROR_ALREADY_EXISTS || (!mutex && error == ERROR_ACCESS_DENIED));
}

}  // namespace

bool ClaimInstanceMutex() {
  // The global name reaches installations in other sessions, such as a deployment
  // service's in session 0.
  return Claim(kInstanceMutexName) && Claim(std::string("Global\\") + kInstanceMutexName);
}

}  // namespace corvalis
