#include "installer/setup_flow.h"

#include "common/exit_codes.h"
#include "common/run_log.h"
#include "common/run_mode.h"
#include "installer/config/language_selection.h"
#include "installer/config/language_texts.h"
#include "installer/config/setup_steps.h"
#include "installer/startup/run_report.h"
#include "installer/uninstaller_image.h"
#include "installer/wizard/unattended_run.h"
#include "installer/wizard/wizard_window.h"

namespace corvalis {

int RunSetup(InstallSession& session) {
  Outcome outcome = LoadLanguage(session, session.LanguageFile);
  if (!outcome.Ends) outcome = LoadStatistics(session);
  if (!outcome.Ends && !FreeSpaceAtLeast(session.RequiredSpace)) {
    outcome = FailWithMessage(session, session.StubTexts[kTextNoFreeSpace], kExitNoDiskSpace);
  }
  if (!outcome.Ends) outcome = LoadScript(session);
  if (outcome.Ends) return outcome.ExitCode;
  OpenDefaultRunLog(session);
  LogLine("package: " + session.ScriptSettings.AppName + " " + session.ScriptSettings.Version);
  ExpandStubPlaceholders(&session.StubTexts, session.ScriptSettings);
  FindRegisteredInstallation(session);
  outcome = CheckRequirements(session);
  if (outcome.Ends) return outcome.ExitCode;

  if (!IsSilentRun()) return RunWizard(session, UninstallerImage);
  return RunUnattended(session, UninstallerImage);
}

}  // namespace corvalis
