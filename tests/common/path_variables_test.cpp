// Expansion over a fixed folder set: runs natively and under Wine.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "common/association_plan.h"
#include "common/path_variables.h"

namespace corvalis {
namespace {

class FakeFolders final : public FolderSource {
 public:
  std::map<int, std::string> special = {
      {kCsidlPrograms, "C:\\U\\Start Menu\\Programs\\"},
      {kCsidlPersonal, "C:\\U\\Documents\\"},
      {kCsidlStartMenu, "C:\\U\\Start Menu\\"},
      {kCsidlDesktopDirectory, "D:\\U\\Desktop\\"},
      {kCsidlCommonStartMenu, "C:\\All\\Start Menu\\"},
      {kCsidlCommonPrograms, "C:\\All\\Start Menu\\Programs\\"},
      {kCsidlCommonDesktopDirectory, "C:\\All\\Desktop\\"},
      {kCsidlAppData, "C:\\U\\AppData\\"},
      {kCsidlCommonAppData, "C:\\All\\AppData\\"},
      {kCsidlWindows, "E:\\windows\\"},
      {kCsidlSystem, "E:\\windows\\system32\\"},
      {kCsidlProgramFiles, "C:\\Program Files\\"},
      {kCsidlCommonDocuments, "C:\\All\\Documents\\"},
  };
  std::string temp = "C:\\U\\Temp\\";
  std::string pureBasic;
  mutable int lookups = 0;

  std::string SpecialFolder(int csidl) const override {
    ++lookups;
    auto it = special.find(csidl);
    return it == special.end() ? std::string() : it->second;
  }
  std::string TempFolder() const override { return temp; }
  std::string PureBasicFolder() const override { return pureBasic; }
};

class PathVariablesTest : public ::testing::Test {
 protected:
  PathVariablesTest() {
    context.Folders = &folders;
    context.OsVersionCode = 70;
    context.AppName = "Demo";
    context.Version = "1.2";
    context.CompanyName = "Acme";
    context.Email = "help@acme.test";
  }
  FakeFolders folders;
  PathContext context;
};

TEST_F(PathVariablesTest, TokensMatchInAnyCase) {
  EXPECT_EQ(ExpandAll("<PROGRAMFILES>app\\<programname>.exe", context),
            "C:\\Program Files\\app\\Demo.exe");
  EXPECT_EQ(ExpandAll("<dEsKtOp>x <SUPPORTEMAIL>", context), "D:\\U\\Desktop\\x help@acme.test");
  // Every occurrence, not just the first.
  EXPECT_EQ(ExpandProgramInfo("<ProgramName>/<PROGRAMNAME>/<programName>", context),
            "Demo/Demo/Demo");
}

TEST_F(PathVariablesTest, SimilarTokensKeepApart) {
  EXPECT_EQ(ExpandPathVariables("<Start>|<StartPrograms>|<AllUsersStart>|<AllUsersStartPrograms>",
                                context),
            "C:\\U\\Start Menu\\|C:\\U\\Start Menu\\Programs\\|C:\\All\\Start Menu\\|"
            "C:\\All\\Start Menu\\Programs\\");
  EXPECT_EQ(ExpandPathVariables("<QuickLaunch>;<AllUsersQuickLaunch>", context),
            "C:\\U\\AppData\\Microsoft\\Internet Explorer\\Quick Launch\\;"
            "C:\\All\\AppData\\Microsoft\\Internet Explorer\\Quick Launch\\");
}

TEST_F(PathVariablesTest, EmptyValuesAndUnknownTokensStay) {
  // Website is empty; <Nonsense> is known to nothing.
  EXPECT_EQ(ExpandAll("URL=<CompanyWebsite> <Nonsense> <CompanyName>", context),
            "URL=<CompanyWebsite> <Nonsense> Acme");
  EXPECT_EQ(ExpandAll("<PureBasic>x", context), "<PureBasic>x");
  EXPECT_EQ(ExpandAll("a < b > c", context), "a < b > c");
}

TEST_F(PathVariablesTest, ExpandAllStopsAfterTwentyFourRounds) {
  // Each round turns one token into text holding the token once more, so only the
  // round limit ends it.
  context.AppName = "x<ProgramName>";
  EXPECT_EQ(ExpandAll("<ProgramName>", context), std::string(24, 'x') + "<ProgramName>");
}

TEST_F(PathVariablesTest, SelfMultiplyingValuesStopAtTheLimit) {
  // Round 12 would hold 4,096 copies (53,250 characters): round 11 stands.
  context.AppName = "<ProgramName><ProgramName>";
  const std::string doubled = ExpandAll("x <ProgramName>", context);
  EXPECT_LE(doubled.size(), 32767u);
  EXPECT_EQ(doubled.size(), 2 + 2048 * 13u);
  EXPECT_EQ(doubled.substr(0, 15), "x <ProgramName>");
  // Tripling, with a path variable beside it: refused before it is built.
  context.AppName = "<programname><PROGRAMNAME><ProgramName>";
  context.InstallPath = "C:\\<ProgramName>\\";
  const std::string tripled = ExpandAll("<DefaultInstallPath>", context);
  EXPECT_LE(tripled.size(), 32767u);
  EXPECT_GT(tripled.size(), 32767u / 3);
  // A text that has nothing left to expand comes back unchanged, however long.
  const std::string longText(40000, 'a');
  EXPECT_EQ(ExpandAll(longText, context), longText);
  // One that came in longer may shrink, but never grow.
  context.AppName = "X";
  EXPECT_EQ(ExpandAll(longText + "<ProgramName>", context), longText + "X");
  context.AppName = "Longer than its token";
  EXPECT_EQ(ExpandAll(longText + "<ProgramName>", context), longText + "<ProgramName>");
}

TEST_F(PathVariablesTest, NestedValuesExpandInLaterRounds) {
  context.CompanyName = "<ProgramName> Ltd";
  context.InstallPath = "<ProgramFiles><CompanyName>\\";
  EXPECT_EQ(ExpandAll("<DefaultInstallPath>readme.txt", context),
            "C:\\Program Files\\Demo Ltd\\readme.txt");
}

TEST_F(PathVariablesTest, InstallPathAndBackslashes) {
  EXPECT_EQ(ExpandAll("<DefaultInstallPath>\\file.txt", context), "<DefaultInstallPath>\\file.txt");
  context.InstallPath = "C:\\Program Files\\Demo\\";
  EXPECT_EQ(ExpandAll("<DefaultInstallPath>\\file.txt", context),
            "C:\\Program Files\\Demo\\file.txt");
  EXPECT_EQ(ExpandAll("\\\\server\\share\\f.txt", context), "\\server\\share\\f.txt");
  EXPECT_EQ(CollapseBackslashes("a\\\\\\b\\\\\\\\c\\d"), "a\\\\b\\\\c\\d");
  EXPECT_EQ(CollapseBackslashes("\\\\"), "\\");
}

TEST_F(PathVariablesTest, PathVariableFolderCodes) {
  EXPECT_EQ(PathVariableFolder(2, context), "<DefaultInstallPath>\\");
  EXPECT_EQ(PathVariableFolder(17, context), "<DefaultStartMenuGroup>\\");
  context.StartMenuGroupPath = "C:\\U\\Start Menu\\Programs\\Demo";
  EXPECT_EQ(PathVariableFolder(17, context), "C:\\U\\Start Menu\\Programs\\Demo\\");
  EXPECT_EQ(PathVariableFolder(-1, context), "\\");
  EXPECT_EQ(PathVariableFolder(18, context), "\\");
  EXPECT_EQ(PathVariableFolder(1, context), "E:\\");
  EXPECT_EQ(PathVariableFolder(16, context), "C:\\U\\Temp\\");
  EXPECT_EQ(PathVariableToken(18), "");
}

TEST_F(PathVariablesTest, FoldersPerWindowsVersion) {
  struct Expected {
    int code;
    const char* folders[18];
  };
  const Expected table[] = {
      {20,
       {"D:\\Program Files\\", "D:\\", "<DefaultInstallPath>\\", "D:\\WINNT\\",
        "D:\\WINNT\\System32\\", "<PureBasic>\\",
        "C:\\All\\AppData\\Microsoft\\Internet Explorer\\Quick Launch\\",
        "C:\\U\\AppData\\Microsoft\\Internet Explorer\\Quick Launch\\",
        "C:\\All\\Start Menu\\Programs\\", "C:\\U\\Start Menu\\Programs\\", "C:\\All\\Desktop\\",
        "D:\\U\\Desktop\\", "C:\\All\\Start Menu\\", "C:\\U\\Start Menu\\",
        "C:\\All\\Documents\\", "C:\\U\\Documents\\", "C:\\U\\Temp\\",
        "<DefaultStartMenuGroup>\\"}},
      {30,
       {"D:\\Program Files\\", "D:\\", "<DefaultInstallPath>\\", "D:\\WINDOWS\\",
        "D:\\WINDOWS\\System32\\", "<PureBasic>\\",
        "C:\\U\\AppData\\Microsoft\\Internet Explorer\\Quick Launch\\",
        "C:\\U\\AppData\\Microsoft\\Internet Explorer\\Quick Launch\\",
        "C:\\U\\Start Menu\\Programs\\", "C:\\U\\Start Menu\\Programs\\", "D:\\U\\Desktop\\",
        "D:\\U\\Desktop\\", "C:\\U\\Start Menu\\", "C:\\U\\Start Menu\\", "C:\\U\\Documents\\",
        "C:\\U\\Documents\\", "C:\\U\\Temp\\", "<DefaultStartMenuGroup>\\"}},
      {75,
       {"C:\\Program Files\\", "E:\\", "<DefaultInstallPath>\\", "E:\\windows\\",
        "E:\\windows\\system32\\", "<PureBasic>\\",
        "C:\\All\\AppData\\Microsoft\\Internet Explorer\\Quick Launch\\",
        "C:\\U\\AppData\\Microsoft\\Internet Explorer\\Quick Launch\\",
        "C:\\All\\Start Menu\\Programs\\", "C:\\U\\Start Menu\\Programs\\", "C:\\All\\Desktop\\",
        "D:\\U\\Desktop\\", "C:\\All\\Start Menu\\", "C:\\U\\Start Menu\\",
        "C:\\All\\Documents\\", "C:\\U\\Documents\\", "C:\\U\\Temp\\",
        "<DefaultStartMenuGroup>\\"}},
  };
  for (const Expected& row : table) {
    context.OsVersionCode = row.code;
    for (int code = 0; code < kPathVariableCount; ++code) {
      EXPECT_EQ(PathVariableFolder(code, context), row.folders[code])
          << "version code " << row.code << ", variable " << code;
    }
  }
  // Windows 95 and 2000 use the shell's own Windows and System folders.
  for (int os : {10, 50}) {
    context.OsVersionCode = os;
    EXPECT_EQ(PathVariableFolder(4, context), "E:\\windows\\system32\\") << os;
  }
  context.OsVersionCode = 10;
  EXPECT_EQ(PathVariableFolder(0, context), "D:\\Program Files\\");
  EXPECT_EQ(PathVariableFolder(8, context), "C:\\All\\Start Menu\\Programs\\");
}

TEST_F(PathVariablesTest, MissingFoldersLeaveTokens) {
  folders.special.clear();
  folders.temp.clear();
  context.OsVersionCode = 20;
  EXPECT_EQ(ExpandAll("<Windows>|<QuickLaunch>|<Temp>|<ProgramFiles>", context),
            "<Windows>|<QuickLaunch>|<Temp>|<ProgramFiles>");
  PathContext bare;
  EXPECT_EQ(ExpandAll("<Desktop>x", bare), "<Desktop>x");
}

TEST_F(PathVariablesTest, FoldersAreLookedUpOnlyWhenNeeded) {
  ExpandAll("C:\\plain\\path.txt", context);
  EXPECT_EQ(folders.lookups, 0);
  ExpandAll("<Desktop>a <Desktop>b", context);
  EXPECT_EQ(folders.lookups, 1);
  // Not cached: a changed folder shows at once.
  folders.special[kCsidlDesktopDirectory] = "F:\\Desk\\";
  EXPECT_EQ(ExpandAll("<Desktop>a", context), "F:\\Desk\\a");
}

TEST(AssociationPlanTest, NtLayout) {
  const auto writes =
      AssociationWrites("cvx", "Corvalis file", "C:\\Program Files\\Cv App\\cv.exe",
                        "C:\\Program Files\\Cv App\\cv.exe,2", true);
  ASSERT_EQ(writes.size(), 6u);
  EXPECT_EQ(writes[0].Root, kRootClasses);
  EXPECT_EQ(writes[0].KeyPath, "Applications\\cv.exe\\shell\\open\\command");
  EXPECT_EQ(writes[0].Value, "\"C:\\Program Files\\Cv App\\cv.exe\" \"%1\"");
  EXPECT_EQ(writes[1].KeyPath, ".cvx");
  EXPECT_EQ(writes[1].Value, "cvx_auto_file");
  EXPECT_EQ(writes[2].KeyPath, "cvx_auto_file");
  EXPECT_EQ(writes[2].Value, "Corvalis file");
  EXPECT_EQ(writes[3].KeyPath, "cvx_auto_file\\DefaultIcon");
  EXPECT_EQ(writes[4].KeyPath, "cvx_auto_file\\shell\\open\\command");
  EXPECT_EQ(writes[4].Value, writes[0].Value);
  EXPECT_EQ(writes[5].Root, kRootCurrentUser);
  EXPECT_EQ(writes[5].KeyPath, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.cvx");
  EXPECT_EQ(writes[5].ValueName, "Application");
  EXPECT_EQ(writes[5].Value, "cv.exe");

  // Without a description the extension's own key is not touched.
  const auto bare = AssociationWrites("cvx", "", "C:/tools/cv.exe", "C:/tools/cv.exe,0", true);
  ASSERT_EQ(bare.size(), 2u);
  EXPECT_EQ(bare[0].KeyPath, "Applications\\cv.exe\\shell\\open\\command");
  EXPECT_EQ(bare[1].ValueName, "Application");
}

TEST(AssociationPlanTest, NineXLayout) {
  const auto writes = AssociationWrites("cvx", "", "C:\\A B\\cv.exe", "", false);
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0].Root, kRootLocalMachine);
  EXPECT_EQ(writes[0].KeyPath, "Software\\Classes\\.cvx");
  EXPECT_EQ(writes[0].Value, "cv.exe");
  EXPECT_EQ(writes[1].KeyPath, "Software\\Classes\\cv.exe\\shell\\open\\command");
  EXPECT_EQ(writes[1].Value, "\"C:\\A B\\cv.exe\" \"%1\"");
  EXPECT_EQ(AssociationWrites("cvx", "D", "C:\\cv.exe", "C:\\cv.exe,1", false).size(), 4u);

  const auto keys = AssociationKeys("cvx", "cv.exe", false);
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[1].KeyPath, "Software\\Classes\\cv.exe");
  EXPECT_EQ(AssociationKeys("cvx", "cv.exe", true).size(), 4u);
}

}  // namespace
}  // namespace corvalis
