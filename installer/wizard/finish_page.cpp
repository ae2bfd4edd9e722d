#include "installer/wizard/finish_page.h"

#include <commctrl.h>

#include "common/control_ids.h"
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

}  // namespace

void BuildFinishActions(InstallSession& session, WizardView& view) {
  const PathContext context = SessionPathContext(session);
  for (TaskEntry& task : session.ScriptSettings.InstTasks) task.Line = ExpandProgramInfo(task.Line, context);
  HWND checklist = view.Control(kIdFinishActions);
  for (const FinishItem& item :
       FinishItemsFor(session.ScriptSettings.InstTasks, session.StubTexts, session.ScriptSettings.RebootRequired)) {
    LVITEMA row = {};
    row.mask = LVIF_TEXT;
    row.iItem = item.Action.Item;
    row.pszText = const_cast<char*>(item.Text.c_str());
    SendMessageA(checklist, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
    LVITEMA ticked = {};
    ticked.stateMask = LVIS_STATEIMAGEMASK;
    ticked.state = INDEXTOSTATEIMAGEMASK(2);
    SendMessageA(checklist, LVM_SETITEMSTATE, static_cast<WPARAM>(item.Action.Item), reinterpret_cast<LPARAM>(&ticked));
    session.FinishActions.push_back(item.Action);
  }
  ShowWindow(checklist, session.FinishActions.empty() ? SW_HIDE : SW_SHOWNA);
}

void Finish(InstallSession& session, WizardView& view, const std::string& uninstallerImage) {
  RemoveWorkFolder();
  NotifyAssociationsChanged();
  HWND checklist = view.Control(kIdFinishActions);
  std::vector<bool> ticked;
  for (const FinishAction& action : session.FinishActions) ticked.push_back(ItemTicked(checklist, action.Item));
  const FinishPlan plan = PlanFinish(session.FinishActions, ticked);
  TaskOperations& operations = InstallationOperations(view);
  for (const FinishAction& action : plan.BeforeUninstallData) {
    ExecuteTask(session, {action.Name, action.Line}, operations);
  }
  WriteUninstallData(session, operations, uninstallerImage);
  NotifyAssociationsChanged();
  for (const FinishAction& action : plan.AfterUninstallData) {
    ExecuteTask(session, {action.Name, action.Line}, operations);
  }
  ExitProcess(0);
}

}  // namespace corvalis
