#include <gtest/gtest.h>

#include "tools/winrobot/cli_command.h"
#include "tools/winrobot/control_ref.h"
#include "tools/winrobot/unix_path.h"

namespace winrobot {
namespace {

TEST(ControlRef, MnemonicsAreIgnoredAndDoubledAmpersandsKept) {
  EXPECT_EQ(StripMnemonic("&Next >"), "Next >");
  EXPECT_EQ(StripMnemonic("Save && E&xit"), "Save & Exit");
  EXPECT_EQ(StripMnemonic("trailing&"), "trailing");
  EXPECT_EQ(StripMnemonic("&&&Yes"), "&Yes");

  EXPECT_TRUE(MatchesControl(ParseControlRef("Yes"), "&Yes", 6));
  EXPECT_TRUE(MatchesControl(ParseControlRef("&Yes"), "Y&es", 6));
  EXPECT_FALSE(MatchesControl(ParseControlRef("yes"), "&Yes", 6));
  EXPECT_FALSE(MatchesControl(ParseControlRef("Yes"), "Yes, please", 6));
}

TEST(ControlRef, IdsAreSixteenBitForMessageBoxTexts) {
  ControlRef decimal = ParseControlRef("#123");
  EXPECT_TRUE(decimal.byId);
  EXPECT_EQ(decimal.id, 123);
  EXPECT_EQ(ParseControlRef("#0x7B").id, 123);
  EXPECT_EQ(ParseControlRef("#010").id, 10);
  EXPECT_TRUE(MatchesControl(ParseControlRef("#-1"), "", 0xFFFF));
  EXPECT_TRUE(MatchesControl(ParseControlRef("#65535"), "", -1));
  EXPECT_TRUE(MatchesControl(ParseControlRef("#65535"), "", 65535));
  EXPECT_FALSE(MatchesControl(ParseControlRef("#5"), "", 65536 + 5));
  EXPECT_FALSE(MatchesControl(ParseControlRef("#1"), "#1", 2));

  // Not ids: plain texts that happen to start with '#'.
  for (const char* text : {"#", "#12a", "# 1", "#99999999999"}) {
    ControlRef ref = ParseControlRef(text);
    EXPECT_FALSE(ref.byId) << text;
    EXPECT_EQ(ref.text, text);
  }
}

TEST(ControlRef, ItemsMatchExactly) {
  std::vector<std::string> items = {"Deutsch", "English", "english"};
  EXPECT_EQ(FindItemIndex(items, "english"), 2);
  EXPECT_EQ(FindItemIndex(items, "English"), 1);
  EXPECT_EQ(FindItemIndex(items, "Engl"), -1);
  EXPECT_EQ(FindItemIndex({}, ""), -1);
}

TEST(UnixPath, RootBecomesDriveZ) {
  EXPECT_EQ(UnixToWindowsPath("/a/b"), "Z:\\a\\b");
  EXPECT_EQ(UnixToWindowsPath("/work/dist/"), "Z:\\work\\dist\\");
  EXPECT_EQ(UnixToWindowsPath("/"), "Z:\\");
  EXPECT_EQ(UnixToWindowsPath("C:\\x"), "C:\\x");
  EXPECT_EQ(UnixToWindowsPath("relative/x"), "relative/x");
  EXPECT_EQ(UnixToWindowsPath(""), "");
}

TEST(CliArguments, CommandsAndTimeout) {
  CliCommand click = ParseCliArguments({"click", "Setup", "&Next >", "--timeout", "250"});
  EXPECT_EQ(click.verb, CliVerb::Click);
  EXPECT_EQ(click.title, "Setup");
  EXPECT_EQ(click.control, "&Next >");
  EXPECT_EQ(click.timeoutMs, 250);

  CliCommand select = ParseCliArguments({"--timeout", "0", "select", "Setup", "#1001", "English"});
  EXPECT_EQ(select.verb, CliVerb::Select);
  EXPECT_EQ(select.control, "#1001");
  EXPECT_EQ(select.value, "English");
  EXPECT_EQ(select.timeoutMs, 0);

  CliCommand wait = ParseCliArguments({"wait-window", "Setup"});
  EXPECT_EQ(wait.verb, CliVerb::WaitWindow);
  EXPECT_EQ(wait.timeoutMs, 5000);
  EXPECT_EQ(ParseCliArguments({"check", "Setup", "Box", "off"}).value, "off");
  EXPECT_EQ(ParseCliArguments({"list"}).verb, CliVerb::ListWindows);
  const CliCommand tick = ParseCliArguments({"tick", "Setup", "#1200", "Run Acme Notes", "off"});
  EXPECT_EQ(tick.verb, CliVerb::Tick);
  EXPECT_EQ(tick.control + "|" + tick.item + "|" + tick.value, "#1200|Run Acme Notes|off");
}

TEST(CliArguments, MistakesAreNamed) {
  struct Case {
    std::vector<std::string> args;
    const char* errorPart;
  };
  const Case cases[] = {
      {{}, "no command"},
      {{"push", "Setup"}, "unknown command \"push\""},
      {{"click", "Setup"}, "click takes 2 argument(s), got 1"},
      {{"list", "Setup", "extra"}, "list takes 1"},
      {{"check", "Setup", "Box", "yes"}, "\"on\" or \"off\""},
      {{"tick", "Setup", "#1200", "#0", "ticked"}, "tick wants \"on\" or \"off\""},
      {{"list", "Setup", "--timeout"}, "--timeout"},
      {{"list", "Setup", "--timeout", "-5"}, "--timeout"},
      {{"list", "Setup", "--timeout", "5s"}, "--timeout"},
  };
  for (const Case& c : cases) {
    CliCommand command = ParseCliArguments(c.args);
    EXPECT_EQ(command.verb, CliVerb::None);
    EXPECT_NE(command.error.find(c.errorPart), std::string::npos) << command.error;
  }
}

TEST(CliArguments, ListLineEscapesText) {
  EXPECT_EQ(FormatControlLine("Button", 1, true, false, false, "OK"), "Button\t#1\tvisible disabled\t\"OK\"");
  EXPECT_EQ(FormatControlLine("Static", 65535, false, true, true, "a\r\nb \"c\" \\"),
            "Static\t#65535\thidden enabled checked\t\"a\\r\\nb \\\"c\\\" \\\\\"");
}

}  // namespace
}  // namespace winrobot
