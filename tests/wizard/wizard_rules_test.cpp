// The wizard's rules without a window: runs natively and under Wine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer/wizard/wizard_rules.h"

namespace corvalis {
namespace {

TEST(WizardRules, SizeTexts) {
  const std::uint64_t kib = 1024;
  const struct {
    std::uint64_t bytes;
    const char* text;
  } cases[] = {
      {0, "0 Byte"},           {1023, "1023 Byte"},
      {kib, "1.0 KB"},         {1536, "1.5 KB"},
      {1280, "1.2 KB"},        {1331, "1.3 KB"},  // 1.25 is a tie and goes to the even digit
      {kib * kib - 1, "1024.0 KB"},
      {kib * kib * kib, "1.0 GB"}, {kib * kib * kib * kib * kib * kib, "1.0 EB"},
      {~std::uint64_t{0}, "16.0 EB"},
  };
  for (const auto& c : cases) EXPECT_EQ(SizeText(c.bytes), c.text) << c.bytes;
  EXPECT_EQ(SpaceLine("Required space:", 1536), "Required space: 1.5 KB");
}

// Follows Next from the welcome page until the installation starts, and Previous back.
std::vector<int> WalkForward(const NavigationSwitches& switches) {
  std::vector<int> pages = {kPageWelcome};
  for (int guard = 0; guard < 10; ++guard) {
    NextStep step = NextFrom(pages.back(), switches, "C:\\x\\");
    if (step.Action != NextAction::ShowPage) break;
    pages.push_back(step.Page);
  }
  return pages;
}

std::vector<int> WalkBack(int from, const NavigationSwitches& switches) {
  std::vector<int> pages = {from};
  while (PreviousFrom(pages.back(), switches) >= 0) pages.push_back(PreviousFrom(pages.back(), switches));
  return pages;
}

TEST(WizardRules, PagesFollowTheSwitches) {
  const struct {
    bool license, readme, group;
    std::vector<int> forward;
  } cases[] = {
      {false, false, false, {0, 3}},
      {false, false, true, {0, 3, 4}},
      {true, false, true, {0, 1, 3, 4}},
      {false, true, false, {0, 2, 3}},
      {true, true, true, {0, 1, 2, 3, 4}},
  };
  for (const auto& c : cases) {
    NavigationSwitches switches{c.license, c.readme, c.group};
    std::vector<int> forward = WalkForward(switches);
    EXPECT_EQ(forward, c.forward);
    // The last shown page's Next starts the installation; Previous retraces the way.
    EXPECT_EQ(NextFrom(forward.back(), switches, "C:\\x\\").Action, NextAction::StartInstallation);
    std::vector<int> back = WalkBack(forward.back(), switches);
    EXPECT_EQ(std::vector<int>(back.rbegin(), back.rend()), forward);
  }
  NavigationSwitches all{true, true, true};
  EXPECT_EQ(NextFrom(kPageDestination, all, "").Action, NextAction::WarnEmptyDestination);
  for (const char* relative : {"   ", " D:\\App\\", "App\\", "\\App\\", "C:App", "\\\\\\x"}) {
    EXPECT_EQ(NextFrom(kPageDestination, all, relative).Action, NextAction::WarnEmptyDestination) << relative;
  }
  for (const char* full : {"D:\\App\\", "\\\\server\\share\\App\\", "c:/x"}) {
    EXPECT_EQ(NextFrom(kPageDestination, all, full).Page, kPageStartMenu) << full;
  }
  EXPECT_EQ(NextFrom(kPageProgress, all, "x").Action, NextAction::Nothing);
  EXPECT_EQ(PreviousFrom(kPageProgress, all), -1);
}

TEST(WizardRules, ButtonsPerPage) {
  EXPECT_EQ(ButtonsForPage(kPageWelcome, false).Previous, ButtonState::Disabled);
  EXPECT_EQ(ButtonsForPage(kPageWelcome, false).Next, ButtonState::Enabled);
  EXPECT_EQ(ButtonsForPage(kPageLicense, false).Next, ButtonState::Disabled);
  EXPECT_EQ(ButtonsForPage(kPageLicense, true).Next, ButtonState::Enabled);
  EXPECT_EQ(ButtonsForPage(kPageDestination, false).Next, ButtonState::Unchanged);
  EXPECT_TRUE(ButtonsForPage(kPageProgress, false).FocusExplanation);
  PageButtons finish = ButtonsForPage(kPageFinish, true);
  EXPECT_EQ(finish.Next, ButtonState::Hidden);
  EXPECT_EQ(finish.Previous, ButtonState::Hidden);
  EXPECT_TRUE(finish.FinishInsteadOfCancel);
}

class ProgramFilesOnly final : public FolderSource {
 public:
  std::string SpecialFolder(int csidl) const override {
    return csidl == kCsidlProgramFiles ? "C:\\Program Files\\" : std::string();
  }
  std::string TempFolder() const override { return "C:\\T\\"; }
  std::string PureBasicFolder() const override { return std::string(); }
};

TEST(WizardRules, DestinationAndGroupPaths) {
  ProgramFilesOnly folders;
  PathContext context;
  context.Folders = &folders;
  context.AppName = "Demo";
  EXPECT_EQ(InitialDestination("", "", "Demo", context), "C:\\Program Files\\Demo\\");
  EXPECT_EQ(InitialDestination("", " \t ", "Demo", context), "C:\\Program Files\\Demo\\");
  EXPECT_EQ(InitialDestination("", "<ProgramFiles>Acme\\<ProgramName>", "Demo", context),
            "C:\\Program Files\\Acme\\Demo\\");
  EXPECT_EQ(InitialDestination("", "D:\\Apps\\", "Demo", context), "D:\\Apps\\");
  EXPECT_EQ(InitialDestination("E:\\Old", "D:\\Apps\\", "Demo", context), "E:\\Old\\");
  // A name holding its own token expands only so far: a bounded text, not a hang.
  context.AppName = "<ProgramName><ProgramName><ProgramName>";
  std::string grown = InitialDestination("", "<ProgramFiles><ProgramName>", context.AppName, context);
  EXPECT_LE(grown.size(), 32768u);
  EXPECT_EQ(grown.back(), '\\');

  EXPECT_EQ(BrowsedDestination("  D:\\ "), "D:\\");
  EXPECT_EQ(BrowsedDestination("D:\\Games"), "D:\\Games\\");
  EXPECT_EQ(BrowsedDestination("  "), "");
  EXPECT_EQ(BrowsedDestination("\\"), "");
  EXPECT_EQ(DriveOfPath("D:\\Games\\"), "D:\\");

  const std::string programs = "C:\\All\\Programs\\";
  EXPECT_EQ(GroupPathForItem(programs, "", "Demo"), "C:\\All\\Programs\\Demo\\");
  EXPECT_EQ(GroupPathForItem(programs, "Tools", "Demo"), "C:\\All\\Programs\\Tools\\Demo\\");
}

}  // namespace
}  // namespace corvalis
