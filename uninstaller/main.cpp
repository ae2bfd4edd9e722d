// The uninstaller: written by the installer beside its data file. Started without
// parameters it starts a copy of itself from the temporary folder; that copy, given the
// installed data file's and program's paths, removes the installation and itself.
#include <windows.h>

#include <string>

#include "common/command_line.h"
#include "common/exit_codes.h"
#include "common/ini_file.h"
#include "common/message_box.h"
#include "common/operations_settings.h"
#include "common/os_version.h"
#include "common/run_log.h"
#include "common/special_folders.h"
#include "common/start_messages.h"
#include "common/system_dlls.h"
#include "common/whole_file.h"
#include "uninstaller/uninstall_operations_win32.h"
#include "uninstaller/uninstall_run.h"

using namespace corvalis;

namespace {

// Stage 2 appends to the log stage 1 started. Stage 1 names its default file after the
// program it removes, which only the data file beside it knows.
void BeginLog(UninstallerOptions& options, const std::string& ownPath) {
  if (!options.Log) return;
  StartRunLog();
  const bool secondStage = !options.InstalledDataPath.empty();
  if (options.LogPath.empty() && !secondStage) {
    std::string bytes;
    ReadWholeFile(DataFilePathFor(ownPath), kMaxIniFileBytes, &bytes);
    options.LogPath = DefaultLogPath(TempFolder(), ParseUninstallData(bytes).AppName, "Uninstall", CurrentLogTime());
  }
  if (!options.LogPath.empty()) OpenRunLog(options.LogPath, secondStage);
  LogLine(std::string(secondStage ? "uninstaller, stage 2: " : "uninstaller: ") + GetCommandLineA());
}

int End(int exitCode) {
  LogExitCode(exitCode);
  return exitCode;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  RestrictDllSearchPath();
  UninstallerOptions options = ReadUninstallerOptions(ParametersOf(GetCommandLineA()), HasInteractiveDesktop());
  SetRunMode(options.Mode);
  OperationsSettings settings;
  settings.OsVersionCode = ClassifyOsVersion(QueryOsVersion());
  SetOperations(settings);
  const ProgramRights rights = CurrentRights(settings.OsVersionCode);
  SystemUninstallOperations ops(LoadIconA(instance, MAKEINTRESOURCEA(1)), rights.elevated);
  BeginLog(options, ops.OwnPath());
  if (!rights.administrator) {
    ShowMessageBox(nullptr, kNeedAdministratorText, kErrorTitle, MB_OK | MB_ICONERROR);
    return End(kExitNotAdministrator);
  }
  if (!options.Problem.empty()) {
    ShowMessageBox(nullptr, "Uninstaller command line: " + options.Problem, kErrorTitle, MB_OK | MB_ICONERROR);
    return End(kExitInvalidCommandLine);
  }
  return End(options.InstalledDataPath.empty() ? StartFromTempCopy(ops, options) : RunUninstallation(ops, options));
}
