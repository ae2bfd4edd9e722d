#include "installer/wizard/finish_page.h"

#include <commctrl.h>

#include "common/control_ids.h"
#include "common/exit_codes.h"
#include "common/run_log.h"
#include "common/system_operations.h"
#include "installer/engine/session_paths.h"
#include "installer/engine/task_executor.h"
#include "installer/engine/uninstall_writer.h"
#include "installer/wizard/finish_actions.h"
#include "installer/wizard/start_installation.h"
#include "installer/work_folder.h"

namespace corvalis {

namespace {

bool ItemTicked(HWND checklist, int item) {
  const LRESULT state = SendMessageA(checklist, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void AddChecklistItem(HWND checklist, const FinishItem& item) {
  LVITEMA row = {};
  row.mask = LVIF_TEXT;
  row.iItem = item.Action.Item;
  row.pszText = const_cast<char*>(item.Text.c_str());
  SendMessageA(checklist, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
  LVITEMA ticked = {};
  ticked.stateMask = LVIS_STATEIMAGEMASK;
  ticked.state = INDEXTOSTATEIMAGEMASK(2);
  SendMessageA(checklist, LVM_SETITEMSTATE, static_cast<WPARAM>(item.Action.Item), reinterpret_cast<LPARAM>(&ticked));
}

}  // namespace

void BuildFinishActions(InstallSession& session, WizardView* view) {
  const PathContext context = SessionPathContext(session);
  for (TaskEntry& task : session.ScriptSettings.InstTasks) task.Line = ExpandProgramInfo(task.Line, context);
  HWND checklist = view ? view->Control(kIdFinishActions) : nullptr;
  for (const FinishItem& item :
       FinishItemsFor(session.ScriptSettings.InstTasks, session.StubTexts, session.ScriptSettings.RebootRequired)) {
    if (checklist) AddChecklistItem(checklist, item);
    session.FinishActions.push_back(item.Action);
  }
  if (checklist) ShowWindow(checklist, session.FinishActions.empty() ? SW_HIDE : SW_SHOWNA);
}

void Finish(InstallSession& session, WizardView& view, const std::string& uninstallerImage) {
  HWND checklist = view.Control(kIdFinishActions);
  std::vector<bool> ticked;
  for (const FinishAction& action : session.FinishActions) ticked.push_back(ItemTicked(checklist, action.Item));
  CompleteInstallation(session, &view, ticked, uninstallerImage);
}

void CompleteInstallation(InstallSession& session, WizardView* view, const std::vector<bool>& ticked,
                          const std::string& uninstallerImage) {
  RemoveWorkFolder();
  NotifyAssociationsChanged();
  for (std::size_t i = 0; i < session.FinishActions.size() && i < ticked.size(); ++i) {
    LogLine("finish action " + session.FinishActions[i].Name + (ticked[i] ? ": done" : ": left out"));
  }
  const FinishPlan plan = PlanFinish(session.FinishActions, ticked);
  SystemTaskOperations& operations = InstallationOperations(session, view);
  for (const FinishAction& action : plan.BeforeUninstallData) {
    ExecuteTask(session, {action.Name, action.Line}, operations);
  }
  WriteUninstallData(session, operations, uninstallerImage, DateStamp(CurrentLogTime()));
  NotifyAssociationsChanged();
  for (const FinishAction& action : plan.AfterUninstallData) {
    ExecuteTask(session, {action.Name, action.Line}, operations);
  }
  // A restart the package asks for, or that replaces a file in use, and that nobody started
  // is still needed; /FORCERESTART does it now.
  const bool restartNeeded = operations.RestartNeeded() || !session.ReplacedAtRestart.empty() ||
                             (session.ScriptSettings.RebootRequired == 1 && !operations.RestartStarted());
  if (restartNeeded && !operations.RestartStarted() && session.Options.ForceRestart) operations.RestartComputer(0);
  AbortInstaller(SuccessExitCode(restartNeeded, operations.RestartStarted()));
}

}  // namespace corvalis
