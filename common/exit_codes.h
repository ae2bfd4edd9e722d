// The exit codes of both programs, in the vocabulary of Windows installers that
// deployment tools (winget, Intune, Configuration Manager) read without being told.
#pragma once

namespace corvalis {

constexpr int kExitSuccess = 0;
constexpr int kExitInvalidCommandLine = 87;    // ERROR_INVALID_PARAMETER
constexpr int kExitNoDiskSpace = 112;          // ERROR_DISK_FULL
constexpr int kExitNotAdministrator = 740;     // ERROR_ELEVATION_REQUIRED
constexpr int kExitRestartStarted = 1641;      // ERROR_SUCCESS_REBOOT_INITIATED
constexpr int kExitCancelled = 1602;           // ERROR_INSTALL_USEREXIT
constexpr int kExitFailure = 1603;             // ERROR_INSTALL_FAILURE
constexpr int kExitAnotherInstallation = 1618;  // ERROR_INSTALL_ALREADY_RUNNING
constexpr int kExitRestartNeeded = 3010;       // ERROR_SUCCESS_REBOOT_REQUIRED

// What a step of a run came to: go on, or end the run with ExitCode. The step has shown
// and logged its message; only the program's main ends the process, after its one
// clean-up.
struct Outcome {
  bool Ends = false;
  int ExitCode = kExitSuccess;
};
constexpr Outcome kGoOn{};
constexpr Outcome EndRun(int exitCode) { return Outcome{true, exitCode}; }

// A write the system refused for want of room (ERROR_DISK_FULL, ERROR_HANDLE_DISK_FULL).
bool IsDiskFull(unsigned long error);
// How a run that gives up after that write error ends: 112 for a full volume, else 1603.
int WriteFailureExitCode(unsigned long error);

// What a code means, for the log's last line.
const char* ExitCodeMeaning(int code);

// The end of a successful run: a restart started, one still needed, or neither.
int SuccessExitCode(bool restartNeeded, bool restartStarted);

}  // namespace corvalis
