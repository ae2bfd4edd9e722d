#include "installer/startup/instance_mutex.h"

#include <windows.h>

#include "installer/startup/startup_texts.h"

namespace corvalis {

bool ClaimInstanceMutex() {
  // The handle is deliberately never closed: holding it is what keeps others out.
  SetLastError(ERROR_SUCCESS);
  CreateMutexA(nullptr, FALSE, kInstanceMutexName);
  return GetLastError() != ERROR_ALREADY_EXISTS;
}

}  // namespace corvalis
