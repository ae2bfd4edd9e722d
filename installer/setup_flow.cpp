#include "installer/setup_flow.h"

#include "common/exit_codes.h"
#include "common/run_log.h"
#include "installer/config/language_selection.h"
#include "installer/config/language_texts.h"
#include "installer/config/setup_steps.h"
#include "installer/startup/run_report.h"
#include "installer/uninstaller_image.h"
#include "installer/wizard/unattended_run.h"
#include "installer/wizard/wizard_window.h"

namespace corvalis {

void RunSetup(InstallSession& session) {
  LoadLanguage(session, session.LanguageFile);
  LoadStatistics(session);
  if (!FreeSpaceAtLeast(session.RequiredSpace)) {
    FailWithMessage(session, session.StubTexts[kTextNoFreeSpace], kExitNoDiskSpace);
  }
  LoadScript(session);
  OpenDefaultRunLog(session);
  LogLine("package: " + session.ScriptSettings.AppName + " " + session.ScriptSettings.Version);
  ExpandStubPlaceholders(&session.StubTexts, session.ScriptSettings);
  CheckRequirements(session);

  if (session.Options.Mode == RunMode::Interactive) RunWizard(BuildWizard(session, UninstallerImage));
  RunUnattended(session, UninstallerImage);
}

}  // namespace corvalis
