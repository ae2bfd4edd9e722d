#include "installer/setup_flow.h"

#include "installer/config/language_selection.h"
#include "installer/config/language_texts.h"
#include "installer/config/setup_steps.h"
#include "installer/uninstaller_image.h"
#include "installer/wizard/wizard_window.h"

namespace corvalis {

void RunSetup(InstallSession& session) {
  LoadLanguage(session, session.LanguageFile);
  LoadStatistics(session);
  if (!FreeSpaceAtLeast(session.RequiredSpace)) FailWithMessage(session, session.StubTexts[kTextNoFreeSpace]);
  LoadScript(session);
  ExpandStubPlaceholders(&session.StubTexts, session.ScriptSettings);
  CheckRequirements(session);

  RunWizard(BuildWizard(session, UninstallerImage));
}

}  // namespace corvalis
