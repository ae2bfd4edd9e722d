// The finish page's checklist: which installation tasks wait for "Finish", with the
// text of their item and the line they run when ticked.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "installer/install_session.h"

namespace corvalis {

// "on the Desktop", "in the Quick Launch", ... for a shortcut's location code;
// empty for a code outside 0 to 17.
std::string LocationPhrase(int code, const StubTextTable& texts);

struct FinishItem {
  std::string Text;  // the checklist item
  FinishAction Action;
};

// The deferred NORMALLINK, INTERNETLINK and RUN tasks of `tasks` (program placeholders
// already expanded), in order, then the restart item when rebootRequired is 1.
std::vector<FinishItem> FinishItemsFor(const std::vector<TaskEntry>& tasks, const StubTextTable& texts,
                                       int rebootRequired);

// The ticked actions (ticked[i] for actions[i]) in the order "Finish" runs them: the
// restart held back until after the uninstall data is written, since the system may end
// the installer as soon as it is asked to restart.
struct FinishPlan {
  std::vector<FinishAction> BeforeUninstallData;
  std::vector<FinishAction> AfterUninstallData;
};
FinishPlan PlanFinish(const std::vector<FinishAction>& actions, const std::vector<bool>& ticked);

// The ticks of a run without questions: links and shortcuts as the page ticks them, no
// program started (a deployment service runs as the system account), the restart only
// when it is forced.
std::vector<bool> UnattendedTicks(const std::vector<FinishAction>& actions, bool forceRestart);

}  // namespace corvalis
