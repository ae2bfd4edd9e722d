#include "common/exit_codes.h"

namespace corvalis {

const char* ExitCodeMeaning(int code) {
  switch (code) {
    case kExitSuccess: return "success";
    case kExitInvalidCommandLine: return "invalid command line";
    case kExitNoDiskSpace: return "not enough disk space";
    case kExitNotAdministrator: return "not running as administrator";
    case kExitRestartStarted: return "success, restart started";
    case kExitCancelled: return "cancelled by the user";
    case kExitFailure: return "failure";
    case kExitAnotherInstallation: return "another installation is running";
    case kExitRestartNeeded: return "success, restart needed";
    default: return "unknown";
  }
}

bool IsDiskFull(unsigned long error) { return error == 112 || error == 39; }

int WriteFailureExitCode(unsigned long error) { return IsDiskFull(error) ? kExitNoDiskSpace : kExitFailure; }

int SuccessExitCode(bool restartNeeded, bool restartStarted) {
  if (restartStarted) return kExitRestartStarted;
  return restartNeeded ? kExitRestartNeeded : kExitSuccess;
}

}  // namespace corvalis
