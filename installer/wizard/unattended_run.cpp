#include "installer/wizard/unattended_run.h"

#include "common/control_ids.h"
#include "common/exit_codes.h"
#include "common/folder_tree.h"
#include "common/run_mode.h"
#include "common/run_log.h"
#include "common/window_toolkit.h"
#include "installer/engine/session_paths.h"
#include "installer/package/package_layout.h"
#include "installer/wizard/finish_actions.h"
#include "installer/wizard/finish_page.h"
#include "installer/wizard/start_installation.h"
#include "installer/wizard/wizard_pages.h"
#include "installer/wizard/wizard_rules.h"
#include "installer/wizard/wizard_window.h"

namespace corvalis {

int RunUnattended(InstallSession& session, UninstallerImageFn uninstallerImage) {
  const InstallerOptions& options = session.Options;
  const ScriptSettings& script = session.ScriptSettings;
  WizardView* view = nullptr;
  if (CurrentRunMode() == RunMode::Silent) {
    const Outcome built = BuildWizard(session, uninstallerImage, &view);
    if (built.Ends) return built.ExitCode;
  } else {
    DeleteFolderTree(session.WorkFolder + kInformationFolder);
    BuildFinishActions(session, nullptr);
  }

  const PathContext context = SessionPathContext(session);
  Choices choices;
  choices.Destination = options.Destination.empty() ? InitialDestination(session.RegisteredLocation, script.DefaultPath,
                                                                         script.AppName, context)
                                                    : options.Destination;
  choices.Group =
      UnattendedGroupPath(PathVariableFolder(kAllUsersProgramsFolder, context), options.Group, script.AppName);
  // The no-group choice is the user's only where the wizard offers its box.
  choices.MakeGroup = script.AutoCreateStartMenu == 1 && !(options.NoGroup && script.ForceGroupCreation != 0);
  if (options.NoGroup && choices.MakeGroup) LogLine("this package always makes its program group");
  choices.ForceRestart = options.ForceRestart;

  if (view) {
    ShowPage(*view, kPageProgress);
    ShowNow(view->window);
    // Nothing can cancel it.
    EnableWindow(view->Control(kIdWizardCancel), FALSE);
  }
  InstallationRun run(session, view);
  const Outcome installed = run.Install(choices);
  if (installed.Ends) return installed.ExitCode;
  choices.FinishTicks = UnattendedTicks(session.FinishActions, options.ForceRestart);
  return run.Complete(choices, uninstallerImage(session)).ExitCode;
}

}  // namespace corvalis
