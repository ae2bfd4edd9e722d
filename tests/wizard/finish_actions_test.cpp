// The finish page's checklist from a script's installation tasks.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "installer/wizard/finish_actions.h"

namespace corvalis {
namespace {

std::string Pilcrows(std::string text) {
  std::replace(text.begin(), text.end(), '|', kFieldSeparator);
  return text;
}

StubTextList Texts() {
  StubTextList texts;
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

}  // namespace
}  // namespace corvalis
