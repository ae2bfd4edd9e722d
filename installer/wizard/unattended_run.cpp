#include "installer/wizard/unattended_run.h"

#include "common/folder_tree.h"
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

namespace {

constexpr int kProgramsFolderVariable = 8;

}  // namespace

void RunUnattended(InstallSession& session, UninstallerImageFn uninstallerImage) {
  const InstallerOptions& options = session.Options;
  ScriptSettings& script = session.ScriptSettings;
  WizardView* view = nullptr;
  if (options.Mode == RunMode::Silent) {
    view = &BuildWizard(session, uninstallerImage);
  } else {
    DeleteFolderTree(session.WorkFolder + kInformationFolder);
    BuildFinishActions(session, nullptr);
  }

  const PathContext context = SessionPathContext(session);
  const std::string destination = options.Destination.empty()
                                      ? InitialDestination(script.DefaultPath, script.AppName, context)
                                      : options.Destination;
  const std::string group =
      UnattendedGroupPath(PathVariableFolder(kProgramsFolderVariable, context), options.Group, script.AppName);
  // The no-group choice is the user's only where the wizard offers its box.
  if (options.NoGroup && script.ForceGroupCreation != 0) script.AutoCreateStartMenu = 0;
  if (options.NoGroup && script.AutoCreateStartMenu == 1) LogLine("this package always makes its program group");
  LogLine("chosen: destination " + destination +
          (script.AutoCreateStartMenu == 1 ? ", program group " + group : ", no program group"));

  if (view) {
    ShowPage(*view, kPageProgress);
    ShowNow(view->window);
  }
  RunUnattendedInstallation(session, view, destination, group);
  CompleteInstallation(session, view, UnattendedTicks(session.FinishActions, options.ForceRestart),
                       uninstallerImage());
}

}  // namespace corvalis
