#include "installer/wizard/finish_actions.h"

#include "common/ini_file.h"
#include "common/task_line.h"

namespace corvalis {

namespace {

constexpr char kRestartLine[] = "!REBOOT_I";

constexpr int kInTheKey = 42;
constexpr int kOnTheKey = 43;
constexpr int kFirstLocationKey = 44;
constexpr int kLinkItemKey = 62;
constexpr int kInternetLinkItemKey = 63;
constexpr int kRunItemKey = 64;
constexpr int kRestartNameKey = 93;
constexpr int kRestartItemKey = 94;
constexpr int kPointingToKey = 96;

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

std::string LocationPhrase(int code, const StubTextList& texts) {
  if (code < 0 || code >= 18) return std::string();
  // The desktop and the Quick Launch bar are "on the", every folder "in the".
  const int article = code == 10 || code == 11 ? kOnTheKey : kInTheKey;
  return texts[article] + " " + texts[kFirstLocationKey + code];
}

std::vector<FinishItem> FinishItemsFor(const std::vector<TaskEntry>& tasks, const StubTextList& texts,
                                       int rebootRequired) {
  std::vector<FinishItem> items;
  auto add = [&items](const std::string& text, const std::string& name, const std::string& line) {
    items.push_back({text, {static_cast<int>(items.size()), name, line}});
  };
  for (const TaskEntry& task : tasks) {
    const std::string& line = task.Line;
    const std::string type = Field(line, 1);
    if (type == "NORMALLINK" && Number(line, 5) == 1) {
      add(texts[kLinkItemKey] + " " + LocationPhrase(Number(line, 2), texts) + " " + texts[kPointingToKey] + " " +
              Field(line, 7),
          task.Name, Fields(line, 1, 7, 5, "0"));
    } else if (type == "INTERNETLINK" && Number(line, 5) == 1) {
      add(texts[kInternetLinkItemKey] + " " + LocationPhrase(Number(line, 2), texts), task.Name,
          Fields(line, 1, 5, 5, "0"));
    } else if (type == "RUN" && Number(line, 4) == 0) {
      add(texts[kRunItemKey] + " " + Field(line, 7), task.Name, Fields(line, 1, 7, 4, "1"));
    }
  }
  if (rebootRequired == 1) add(texts[kRestartItemKey], texts[kRestartNameKey], kRestartLine);
  return items;
}

FinishPlan PlanFinish(const std::vector<FinishAction>& actions, const std::vector<bool>& ticked) {
  FinishPlan plan;
  for (std::size_t i = 0; i < actions.size() && i < ticked.size(); ++i) {
    if (!ticked[i]) continue;
    (actions[i].Line == kRestartLine ? plan.AfterUninstallData : plan.BeforeUninstallData).push_back(actions[i]);
  }
  return plan;
}

}  // namespace corvalis
