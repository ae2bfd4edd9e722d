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

void Say(const std::string& text, const char* title, UINT icon) {
  ShowMessageBox(nullptr, text, title, MB_OK | icon);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  RestrictDllSearchPath();
  InstallSession& session = Session();
  session.Options = ReadInstallerOptions(ParametersOf(GetCommandLineA()));
  const InstallerOptions& options = session.Options;
  SetRunMode(options.Mode);
  OperationsSettings operations;
  operations.OsVersionCode = ClassifyOsVersion(QueryOsVersion());
  SetOperations(operations);
  const ProgramRights rights = CurrentRights(operations.OsVersionCode);
  session.Elevated = rights.elevated;
  BeginRunLog(session, rights.administrator);
  if (!rights.administrator) {
    Say(kNeedAdministratorText, kErrorTitle, MB_ICONSTOP);
    AbortInstaller(kExitNotAdministrator);
  }
  if (IsBefore2000(operations.OsVersionCode) && IsUnsupported(operations.OsVersionCode)) {
    Say(kCompatibilityText, kCompatibilityTitle, MB_ICONSTOP);
    AbortInstaller(kExitFailure);
  }

  CreateStartupResources(instance);
  if (!ClaimInstanceMutex()) {
    Say(kAnotherInstanceText, kAnotherInstanceTitle, MB_ICONWARNING);
    AbortInstaller(kExitAnotherInstallation);
  }

  switch (options.Action) {
    case StartAction::Export:
      ExportApplicationArchive(options.ExportFolder);
      Say(kExportDoneText, kExportDoneTitle, MB_ICONINFORMATION);
      AbortInstaller(kExitSuccess);
    case StartAction::Usage:
      // Without the unattended switches the usage message is the one it always was.
      Say(options.Problem.empty() ? std::string(kUsageText) : options.Problem + "\r\n\r\n" + kSwitchUsageText,
          kErrorTitle, MB_ICONINFORMATION);
      AbortInstaller(kExitInvalidCommandLine);
    case StartAction::Help:
      Say(kSwitchUsageText, kProductTitle, MB_ICONINFORMATION);
      AbortInstaller(kExitSuccess);
    case StartAction::Install:
      break;
  }

  PreparePackage();
  session.LanguageFile = PickLanguage(session);
  if (session.LanguageFile.empty()) {
    Say(kNoLanguageChosenText, kErrorTitle, MB_ICONSTOP);
    AbortInstaller(kExitFailure);
  }
  RunSetup(session);
}
