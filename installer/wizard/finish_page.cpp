#include "installer/wizard/finish_page.h"

#include <commctrl.h>

#include "common/control_ids.h"
#include "installer/engine/session_paths.h"
#include "installer/wizard/finish_actions.h"

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
  std::vector<TaskEntry> tasks = session.ScriptSettings.InstTasks;
  for (TaskEntry& task : tasks) task.Line = ExpandProgramInfo(task.Line, context);
  HWND checklist = view ? view->Control(kIdFinishActions) : nullptr;
  for (const FinishItem& item : FinishItemsFor(tasks, session.StubTexts, session.ScriptSettings.RebootRequired)) {
    if (checklist) AddChecklistItem(checklist, item);
    session.FinishActions.push_back(item.Action);
  }
  if (checklist) ShowWindow(checklist, session.FinishActions.empty() ? SW_HIDE : SW_SHOWNA);
}

std::vector<bool> TickedFinishActions(const InstallSession& session, const WizardView& view) {
  HWND checklist = view.Control(kIdFinishActions);
  std::vector<bool> ticked;
  for (const FinishAction& action : session.FinishActions) ticked.push_back(ItemTicked(checklist, action.Item));
  return ticked;
}

}  // namespace corvalis
