#include "installer/config/script_check.h"

#include <gtest/gtest.h>

namespace corvalis {
namespace {

TEST(ScriptCheck, CleanScriptHasNoWarnings) {
  const char script[] =
      "; Please do not modify this file by hand\n"
      "[Header]\nFileID = x\n"
      "[GeneralInformation]\nAppName = A\n"
      "[InstTasks]\n"
      "Run = RUN\xB6" "0\xB6" "0\xB6" "1\xB6<Desktop>\\x.txt\xB6\xB6\n"
      "Reboot = !REBOOT_I\n"
      "Kill = KILLTASK\xB6" "a.exe, b.exe\n"
      "[UninstTasks]\n"
      "Site = LAUNCHBROWSER\xB6http://example.com\n"
      "[uConfig]\n[iConfig]\n[Folder]\n[Localization]\n[Look]\n[FilesAndSettings]\n";
  EXPECT_TRUE(CheckScriptText(script).empty());
}

TEST(ScriptCheck, WarnsInLineOrder) {
  const char script[] =
      "Stray = before groups\n"            // 1
      "[GeneralInformation]\n"             // 2
      "[Extras]\n"                         // 3
      "[InstTasks]\n"                      // 4
      "A = regaddvalue\xB6HKCU\n"          // 5
      "B = COPYFILE\xB6x\n"                // 6
      "just text\n"                        // 7
      "C =\n"                              // 8
      "D = LAUNCHBROWSER\xB6x\n"           // 9
      "a = DELETEFILE\xB6x\n"              // 10
      "[UninstTasks]\n"                    // 11
      "E = RUN\xB6" "1\xB6" "0\xB6x\xB6\n" // 12
      "F = COPYFILE\xB6x\xB6y\n";          // 13
  const std::vector<std::string> warnings = CheckScriptText(script);
  const std::vector<std::string> expected = {
      "line 1: key \"Stray\" stands before any group and is not read",
      "line 3: unknown group [Extras]",
      "line 5: task \"A\" in [InstTasks]: unknown task type \"regaddvalue\" (task types are upper case)",
      "line 6: task \"B\" in [InstTasks]: COPYFILE takes 3 fields, the line has 2",
      "line 7: malformed task line (name = task line): \"just text\"",
      "line 8: task \"C\" in [InstTasks]: empty task line",
      "line 9: task \"D\" in [InstTasks]: unknown task type \"LAUNCHBROWSER\"",
      "line 10: task \"a\" in [InstTasks]: the name is used twice",
      "line 13: task \"F\" in [UninstTasks]: unknown task type \"COPYFILE\"",
  };
  EXPECT_EQ(warnings, expected);
}

TEST(ScriptCheck, StrayLinesAndSelfExpandingValues) {
  const std::vector<std::string> warnings = CheckScriptText(
      "[iConfig]\nPathChangeable 1\nDefaultPath = <ProgramFiles><ProgramName>\n"
      "[GeneralInformation]\nAppName = A <programname>\nWebsite = <Desktop>\nEmail = a@b\n");
  const std::vector<std::string> expected = {
      "line 2: not a key line (name = value): \"PathChangeable 1\"",
      "line 5: key \"AppName\" holds a path variable or placeholder",
      "line 6: key \"Website\" holds a path variable or placeholder",
  };
  EXPECT_EQ(warnings, expected);
}

}  // namespace
}  // namespace corvalis
