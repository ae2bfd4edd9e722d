#include <windows.h>

#include "common/operations_settings.h"
#include "common/system_operations.h"

namespace corvalis {
namespace {

// Enables the shutdown privilege on NT; 0, or the failing step's number.
int EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
    return 1;
  }
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  int result = 0;
  if (!LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid)) {
    result = 2;
  } else if (!AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr)) {
    result = 3;
  }
  CloseHandle(token);
  return result;
}

}  // namespace

int ShutdownWindows(UINT flags) {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
    const int failedStep = EnableShutdownPrivilege();
    if (failedStep != 0) return failedStep;
  }
  const ExitWindowsFunction exitWindows =
      Operations().ExitWindows ? Operations().ExitWindows : ::ExitWindowsEx;
  return exitWindows(flags, 0) ? 0 : 4;
}

int RestartComputer(int force) {
  ShutdownWindows(force ? EWX_REBOOT | EWX_FORCE : EWX_REBOOT);
  return 0;
}

}  // namespace corvalis
