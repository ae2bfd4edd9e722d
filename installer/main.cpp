// The installer's entry sequence: command line, version and rights, single instance,
// start-up resources, then the export or the package, the language and the setup.
#include <windows.h>

#include <string>

#include "common/command_line.h"
#include "common/exit_codes.h"
#include "common/message_box.h"
#include "common/operations_settings.h"
#include "common/os_version.h"
#include "common/run_log.h"
#include "common/system_dlls.h"
#include "installer/config/language_selection.h"
#include "installer/install_session.h"
#include "installer/package/prepare_package.h"
#include "installer/setup_flow.h"
#include "installer/startup/instance_mutex.h"
#include "installer/startup/run_report.h"
#include "installer/startup/startup_resources.h"
#include "installer/startup/startup_texts.h"
#include "installer/work_folder.h"

using namespace corvalis;

namespace {

// The message, then the exit code it ends the run with.
int Say(const std::string& text, const char* title, UINT icon, int exitCode) {
  ShowMessageBox(nullptr, text, title, MB_OK | icon);
  return exitCode;
}

// Every step up to the end of the installation; the first that ends the run gives the
// exit code.
int RunInstaller(HINSTANCE instance, InstallSession& session) {
  const InstallerOptions& options = session.Options;
  const int osVersion = Operations().OsVersionCode;
  const ProgramRights rights = CurrentRights(osVersion);
  session.Elevated = rights.elevated;
  BeginRunLog(session, rights.administrator);
  if (!rights.administrator) return Say(kNeedAdministratorText, kErrorTitle, MB_ICONSTOP, kExitNotAdministrator);
  if (IsBefore2000(osVersion) && IsUnsupported(osVersion)) {
    return Say(kCompatibilityText, kCompatibilityTitle, MB_ICONSTOP, kExitFailure);
  }

  CreateStartupResources(instance);
  if (!ClaimInstanceMutex()) {
    return Say(kAnotherInstanceText, kAnotherInstanceTitle, MB_ICONWARNING, kExitAnotherInstallation);
  }

  switch (options.Action) {
    case StartAction::Export: {
      const Outcome exported = ExportApplicationArchive(session, options.ExportFolder);
      if (exported.Ends) return exported.ExitCode;
      return Say(kExportDoneText, kExportDoneTitle, MB_ICONINFORMATION, kExitSuccess);
    }
    case StartAction::Usage:
      // Without the unattended switches the usage message is the one it always was.
      return Say(options.Problem.empty() ? std::string(kUsageText) : options.Problem + "\r\n\r\n" + kSwitchUsageText,
                 kErrorTitle, MB_ICONINFORMATION, kExitInvalidCommandLine);
    case StartAction::Help:
      return Say(kSwitchUsageText, kProductTitle, MB_ICONINFORMATION, kExitSuccess);
    case StartAction::Install:
      break;
  }

  const Outcome prepared = PreparePackage(session);
  if (prepared.Ends) return prepared.ExitCode;
  const Outcome picked = PickLanguage(session, &session.LanguageFile);
  if (picked.Ends) return picked.ExitCode;
  if (session.LanguageFile.empty()) return Say(kNoLanguageChosenText, kErrorTitle, MB_ICONSTOP, kExitFailure);
  return RunSetup(session);
}

}  // namespace

// The one way out of the installer: whatever ended the run, the work folder goes, the
// log's last line names the exit code, and the process ends here.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  RestrictDllSearchPath();
  InstallSession& session = Session();
  session.Options = ReadInstallerOptions(ParametersOf(GetCommandLineA()), HasInteractiveDesktop());
  SetRunMode(session.Options.Mode);
  OperationsSettings operations;
  operations.OsVersionCode = ClassifyOsVersion(QueryOsVersion());
  SetOperations(operations);

  const int exitCode = RunInstaller(instance, session);
  RemoveWorkFolder(session);
  OpenDefaultRunLog(session);
  LogExitCode(exitCode);
  ExitProcess(static_cast<UINT>(exitCode));
}
