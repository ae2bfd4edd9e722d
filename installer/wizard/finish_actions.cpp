#include "installer/wizard/finish_actions.h"

#include "common/ini_file.h"
#include "common/path_variables.h"
#include "common/task_line.h"
#include "common/task_types.h"
#include "installer/config/language_texts.h"

namespace corvalis {

namespace {

int Number(const std::string& line, int n) { return static_cast<int>(ParseInteger(Field(line, n))); }

// Fields `first` to `last` of line, one of them replaced by `replaced` at `at`.
std::string Fields(const std::string& line, int first, int last, int at, const std::string& replaced) {
  std::string joined;
  for (int n = first; n <= last; ++n) {
    if (n > first) joined += kFieldSeparator;
    joined += n == at ? replaced : Field(line, n);
  }
  return joined;
}

}  // namespace

std::string LocationPhrase(int code, const StubTextTable& texts) {
  if (code < 0 || code >= kPathVariableCount) return std::string();
  // Things lie "on the" desktop and "in the" folders (the Quick Launch bar is a folder).
  const StubText article = code == kAllUsersDesktopFolder || code == kDesktopFolder ? kTextOnThe : kTextInThe;
  return texts[article] + " " + texts[kTextFirstLocation + code];
}

std::vector<FinishItem> FinishItemsFor(const std::vector<TaskEntry>& tasks, const StubTextTable& texts,
                                       int rebootRequired) {
  std::vector<FinishItem> items;
  auto add = [&items](const std::string& text, const std::string& name, const std::string& line) {
    items.push_back({text, {static_cast<int>(items.size()), name, line}});
  };
  for (const TaskEntry& task : tasks) {
    const std::string& line = task.Line;
    const TaskType type = TaskTypeOf(line);
    // Each runs at "Finish" as the same line with its deferral turned round.
    if (type == TaskType::NormalLink && Number(line, field::kLinkDeferred) == 1) {
      add(texts[kTextCreateShortcutItem] + " " + LocationPhrase(Number(line, field::kLinkLocation), texts) + " " +
              texts[kTextForTarget] + " " + Field(line, field::kLinkDescription),
          task.Name, Fields(line, 1, field::kLinkDescription, field::kLinkDeferred, "0"));
    } else if (type == TaskType::InternetLink && Number(line, field::kLinkDeferred) == 1) {
      add(texts[kTextCreateInternetLinkItem] + " " + LocationPhrase(Number(line, field::kLinkLocation), texts),
          task.Name, Fields(line, 1, field::kLinkDeferred, field::kLinkDeferred, "0"));
    } else if (type == TaskType::Run && Number(line, field::kRunNow) == 0) {
      add(texts[kTextRunItem] + " " + Field(line, field::kRunText), task.Name,
          Fields(line, 1, field::kRunText, field::kRunNow, "1"));
    }
  }
  if (rebootRequired == 1) add(texts[kTextRestartItem], texts[kTextRestartName], TaskKeyword(TaskType::Restart));
  return items;
}

FinishPlan PlanFinish(const std::vector<FinishAction>& actions, const std::vector<bool>& ticked) {
  FinishPlan plan;
  for (std::size_t i = 0; i < actions.size() && i < ticked.size(); ++i) {
    if (!ticked[i]) continue;
    (TaskTypeOf(actions[i].Line) == TaskType::Restart ? plan.AfterUninstallData : plan.BeforeUninstallData).push_back(actions[i]);
  }
  return plan;
}

std::vector<bool> UnattendedTicks(const std::vector<FinishAction>& actions, bool forceRestart) {
  std::vector<bool> ticked;
  for (const FinishAction& action : actions) {
    const TaskType type = TaskTypeOf(action.Line);
    ticked.push_back(type == TaskType::Restart ? forceRestart : type != TaskType::Run);
  }
  return ticked;
}

}  // namespace corvalis
