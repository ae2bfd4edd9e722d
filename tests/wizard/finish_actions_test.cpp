// The finish page's checklist from a script's installation tasks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "installer/wizard/finish_actions.h"
#include "tests/support/task_lines.h"

namespace corvalis {
namespace {

StubTextTable Texts() {
  StubTextTable texts;
  for (int key = 0; key < kStubTextCount; ++key) texts[key] = "K" + std::to_string(key);
  return texts;
}

TEST(FinishActionsTest, DeferredTasksThenRestartLast) {
  const std::vector<TaskEntry> tasks = {
      {"Desk", Pilcrows("NORMALLINK|11|App|C:\\A\\app.exe|1|2|The app|extra")},
      {"Now", Pilcrows("NORMALLINK|11|App|C:\\A\\app.exe|0|0|x")},
      {"Web", Pilcrows("INTERNETLINK|17|Site|http://127.0.0.1/|1")},
      {"Open", Pilcrows("RUN|1|0|0|C:\\A\\readme.txt|-p|read me")},
      {"RunNow", Pilcrows("RUN|0|0|1|C:\\A\\x.exe")},
      {"Lower", Pilcrows("normallink|11|App|C:\\A\\app.exe|1")},
      {"Odd", Pilcrows("INTERNETLINK|99|Site|http://127.0.0.1/|1")},
  };
  const std::vector<FinishItem> items = FinishItemsFor(tasks, Texts(), 1);
  ASSERT_EQ(items.size(), 5u);
  const struct {
    const char* text;
    const char* name;
    const char* line;
  } expected[] = {
      {"K62 K43 K55 K96 The app", "Desk", "NORMALLINK|11|App|C:\\A\\app.exe|0|2|The app"},
      {"K63 K42 K61", "Web", "INTERNETLINK|17|Site|http://127.0.0.1/|0"},
      {"K64 read me", "Open", "RUN|1|0|1|C:\\A\\readme.txt|-p|read me"},
      {"K63 ", "Odd", "INTERNETLINK|99|Site|http://127.0.0.1/|0"},
      {"K94", "K93", "!REBOOT_I"},
  };
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(items[i].Action.Item, i);
    EXPECT_EQ(items[i].Text, expected[i].text);
    EXPECT_EQ(items[i].Action.Name, expected[i].name);
    EXPECT_EQ(items[i].Action.Line, Pilcrows(expected[i].line));
  }

  EXPECT_TRUE(FinishItemsFor({}, Texts(), 0).empty());
  EXPECT_EQ(FinishItemsFor({}, Texts(), 1).size(), 1u);
  EXPECT_EQ(LocationPhrase(10, Texts()), "K43 K54");
  EXPECT_EQ(LocationPhrase(0, Texts()), "K42 K44");
  EXPECT_EQ(LocationPhrase(-1, Texts()), "");
}

TEST(FinishActionsTest, TickedOnesRunRestartAfterTheUninstallData) {
  const std::vector<FinishItem> items = FinishItemsFor(
      {{"A", Pilcrows("RUN|0|0|0|a.exe")}, {"B", Pilcrows("RUN|0|0|0|b.exe")}, {"C", Pilcrows("RUN|0|0|0|c.exe")}},
      Texts(), 1);
  std::vector<FinishAction> actions;
  for (const FinishItem& item : items) actions.push_back(item.Action);
  ASSERT_EQ(actions.size(), 4u);
  // The restart item comes first here, so its place in the list can't be what orders it.
  std::swap(actions[0], actions[3]);
  const FinishPlan plan = PlanFinish(actions, {true, true, false, true});
  ASSERT_EQ(plan.BeforeUninstallData.size(), 2u);
  EXPECT_EQ(plan.BeforeUninstallData[0].Name, "B");
  EXPECT_EQ(plan.BeforeUninstallData[1].Name, "A");
  ASSERT_EQ(plan.AfterUninstallData.size(), 1u);
  EXPECT_EQ(plan.AfterUninstallData[0].Line, "!REBOOT_I");

  EXPECT_TRUE(PlanFinish(actions, {false, false, false, false}).AfterUninstallData.empty());
}

}  // namespace
}  // namespace corvalis
