#include "installer/config/script_reader.h"

#include <gtest/gtest.h>

namespace corvalis {
namespace {

// Groups deliberately out of the builder's order: the reader must not depend on it.
const char kScript[] =
    "; Please do not modify this file by hand\r\n"
    "[iConfig]\r\n"
    "RebootRequired = 1\r\n"
    "PathChangeable = $1\r\n"
    "DefaultPath = <ProgramFiles>\\Sample\\\r\n"
    "AutoCreateStartMenu = 1 \r\n"
    "CreateInternetLink = abc\r\n"
    "CreateUninstallLink = %1\r\n"
    "ForceGroupCreation = -1\r\n"
    "[InstTasks]\r\n"
    "Second = MOVEFILE\xB6<DefaultInstallPath>\\x.txt\xB6<Desktop>\\x.txt\r\n"
    "First = RUN\xB6" "0\xB6" "0\xB6" "1\xB6<Desktop>\\x.txt\xB6\xB6\r\n"
    "[UninstTasks]\r\n"
    "[GeneralInformation]\r\n"
    "AppName = Sample App\r\n"
    "Version = 1.2\r\n"
    "CompanyName = Sample Company\r\n"
    "Website = www.example.com\r\n"
    "Email = help@example.com\r\n"
    "W98 = 0\r\n"
    "WV = 0 \r\n"
    "DotNet = 3\r\n"
    "RunIfDepNotFound = example.com/dotnet\r\n"
    "[Look]\r\n"
    "HeaderTextColour = $0000FF\r\n"
    "WizBitmap = not read\r\n"
    "[FilesAndSettings]\r\n"
    "RequireReadme = yes\r\n"
    "RequireLicense = 1 \r\n"
    "[uConfig]\r\n"
    "RebootRequired = 0\r\n"
    "SkipExtString = ini, log\r\n"
    "IconExtUninst = 1\r\n"
    "IconExtPath = <DefaultInstallPath>\\app.exe\r\n"
    "IconExtIndex = 2\r\n";

TEST(ScriptReader, ReadsEveryKey) {
  const ScriptSettings s = ReadScriptSettings(ParseIni(kScript));
  EXPECT_EQ(s.AppName, "Sample App");
  EXPECT_EQ(s.Version, "1.2");
  EXPECT_EQ(s.CompanyName, "Sample Company");
  EXPECT_EQ(s.Website, "www.example.com");
  EXPECT_EQ(s.Email, "help@example.com");
  EXPECT_EQ(s.W98, "0");
  EXPECT_EQ(s.WME, "");
  EXPECT_EQ(s.WV, "0");  // trimmed
  EXPECT_EQ(s.DotNet, "3");
  EXPECT_EQ(s.RunIfDepNotFound, "example.com/dotnet");
  EXPECT_EQ(s.HeaderTextColour, 0xFF);
  EXPECT_EQ(s.RequireReadme, "yes");
  EXPECT_EQ(s.RequireLicense, "1");  // the trailing space is trimmed away

  // The two RebootRequired keys belong to different programs.
  EXPECT_EQ(s.UninstRebootRequired, 0);
  EXPECT_EQ(s.RebootRequired, 1);
  EXPECT_EQ(s.SkipExtString, "ini, log");
  EXPECT_EQ(s.IconExtUninst, 1);
  EXPECT_EQ(s.IconExtCustom, 0);
  EXPECT_EQ(s.IconExtPath, "<DefaultInstallPath>\\app.exe");
  EXPECT_EQ(s.IconExtIndex, 2);

  EXPECT_EQ(s.PathChangeable, 1);      // "$1"
  EXPECT_EQ(s.CreateInternetLink, 0);  // "abc"
  EXPECT_EQ(s.CreateUninstallLink, 1); // "%1"
  EXPECT_EQ(s.AutoCreateStartMenu, 1);
  EXPECT_EQ(s.ForceGroupCreation, -1);
  EXPECT_EQ(s.DefaultPath, "<ProgramFiles>\\Sample\\");
}

TEST(ScriptReader, TaskListsKeepFileOrder) {
  const ScriptSettings s = ReadScriptSettings(ParseIni(kScript));
  ASSERT_EQ(s.InstTasks.size(), 2u);
  EXPECT_EQ(s.InstTasks[0].Name, "Second");
  EXPECT_EQ(s.InstTasks[0].Line, "MOVEFILE\xB6<DefaultInstallPath>\\x.txt\xB6<Desktop>\\x.txt");
  EXPECT_EQ(s.InstTasks[1].Name, "First");
  EXPECT_EQ(s.InstTasks[1].Line, "RUN\xB6" "0\xB6" "0\xB6" "1\xB6<Desktop>\\x.txt\xB6\xB6");
  EXPECT_TRUE(s.UninstTasks.empty());  // the group is there but holds no key
}

TEST(ScriptReader, MissingKeysGiveDefaults) {
  const ScriptSettings s = ReadScriptSettings(ParseIni("[GeneralInformation]\nAppName=A\n"));
  EXPECT_EQ(s.AppName, "A");
  EXPECT_EQ(s.Version, "");
  EXPECT_EQ(s.RequireLicense, "");
  EXPECT_EQ(s.PathChangeable, 0);
  EXPECT_EQ(s.HeaderTextColour, 0);
  EXPECT_TRUE(s.InstTasks.empty());
  EXPECT_TRUE(s.UninstTasks.empty());
}

TEST(ScriptReader, RepeatedTaskNamesAreAllKept) {
  const ScriptSettings s =
      ReadScriptSettings(ParseIni("[UninstTasks]\nT = RUN\xB6" "1\nT = LAUNCHBROWSER\xB6x\n"));
  ASSERT_EQ(s.UninstTasks.size(), 2u);
  EXPECT_EQ(Field(s.UninstTasks[1].Line, 1), "LAUNCHBROWSER");
}

TEST(ScriptReader, Statistics) {
  std::uint64_t space = 7;
  EXPECT_TRUE(ParseStatistics(std::string("\x01\x02\x00\x00\x00\x00\x00\x80", 8), &space));
  EXPECT_EQ(space, 0x8000000000000201ull);
  EXPECT_TRUE(ParseStatistics(std::string("\x05\0\0\0\0\0\0\0extra", 13), &space));
  EXPECT_EQ(space, 5u);
  EXPECT_FALSE(ParseStatistics(std::string("\x05\0\0", 3), &space));
  EXPECT_EQ(space, 5u);
}

}  // namespace
}  // namespace corvalis
