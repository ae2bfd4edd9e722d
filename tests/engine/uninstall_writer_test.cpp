// What "Finish" leaves for the uninstaller: the data file byte for byte, and the
// uninstall entry as the script's icon switches choose it.
#include <gtest/gtest.h>

#include "common/exit_codes.h"
#include "installer/engine/uninstall_writer.h"
#include "tests/engine/recording_operations.h"

namespace corvalis {
namespace {

InstallSession FinishedSession() {
  InstallSession session;
  session.UninstallTexts = {{"Key0", "Remove <ProgramName>?"}, {"Key1", "Removed."}};
  session.InstallPath = "C:\\Program Files\\Sample\\";
  session.UninstallerPath = session.InstallPath + "Uninst1.exe";
  session.UninstallDataPath = session.InstallPath + "Uninst1.dat";
  ScriptSettings& script = session.ScriptSettings;
  script.AppName = "Sample";
  script.CompanyName = "Maker";
  script.Website = "http://maker.example/";
  script.Email = "help@maker.example";
  script.UninstRebootRequired = 1;
  script.RebootRequired = 0;  // the installer's own question, not written
  script.SkipExtString = "ini,cfg";
  script.UninstTasks = {{"Tidy", "DELETEFILE\xB6<DefaultInstallPath>\\log.txt"}};
  // Two tasks of one name (and a name that looks like the renamed one): all three stay.
  session.UndoLog = {{"AutoStartMenuGroup", "CREATEFOLDER\xB6" "C:\\Menu\\Sample\\"},
                     {"Copy", "COPYFILE\xB6<DefaultInstallPath>\\a.txt"},
                     {"copy", "COPYFILE\xB6" "C:\\b.txt"},
                     {"Copy2", "COPYFILE\xB6" "C:\\c.txt"}};
  session.InstalledFiles = {session.InstallPath + "a.txt", session.InstallPath + "Docs\\b.txt"};
  return session;
}

TEST(UninstallWriterTest, DataFileAndEntryOfAFinishedInstallation) {
  InstallSession session = FinishedSession();
  session.ScriptSettings.IconExtUninst = 1;
  RecordingOperations operations;
  session.ScriptSettings.Version = "2.1";
  session.RequiredSpace = 2049;
  EXPECT_EQ(WriteUninstallData(session, operations, std::string("MZ\0\x90", 4), "20261207"), 0);

  ASSERT_EQ(operations.calls.size(), 18u);
  EXPECT_EQ(operations.calls[0], std::string("WriteWholeFile C:\\Program Files\\Sample\\Uninst1.exe|MZ\0\x90", 55));
  operations.calls.erase(operations.calls.begin());
  EXPECT_EQ(operations.calls[0],
            "WriteWholeFile C:\\Program Files\\Sample\\Uninst1.dat|"
            "[LocalizationUninstall]\r\n"
            "Key0 = Remove <ProgramName>?\r\n"
            "Key1 = Removed.\r\n"
            "[uConfig]\r\n"
            "AppName = Sample\r\n"
            "InstallPath = C:\\Program Files\\Sample\\\r\n"
            "RebootRequired = 1\r\n"
            "SkipExtString = ini,cfg\r\n"
            "[InstTasks]\r\n"
            "AutoStartMenuGroup = CREATEFOLDER\xB6" "C:\\Menu\\Sample\\\r\n"
            "Copy = COPYFILE\xB6" "C:\\Program Files\\Sample\\a.txt\r\n"
            "copy2 = COPYFILE\xB6" "C:\\b.txt\r\n"
            "Copy22 = COPYFILE\xB6" "C:\\c.txt\r\n"
            "[UninstTasks]\r\n"
            "Tidy = DELETEFILE\xB6" "C:\\Program Files\\Sample\\log.txt\r\n"
            "[Files]\r\n"
            "CopyFile0 = C:\\Program Files\\Sample\\a.txt\r\n"
            "CopyFile1 = C:\\Program Files\\Sample\\Docs\\b.txt\r\n");

  const std::string key = "80000002|Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sample";
  EXPECT_EQ(operations.calls[1], "CreateRegistryKey " + key);
  const char* const values[] = {"DisplayName|Sample|1",
                                "DisplayIcon|C:\\Program Files\\Sample\\Uninst1.exe,0|1",
                                "Publisher|Maker|1",
                                "URLInfoAbout|http://maker.example/|1",
                                "HelpLink|http://maker.example/|1",
                                "Contact|help@maker.example|1",
                                "HelpTelephone|n/a|1",
                                "UninstallString|\"C:\\Program Files\\Sample\\Uninst1.exe\"|1",
                                "QuietUninstallString|\"C:\\Program Files\\Sample\\Uninst1.exe\" /VERYSILENT|1",
                                "DisplayVersion|2.1|1",
                                "InstallLocation|C:\\Program Files\\Sample\\|1",
                                "EstimatedSize|3|4",
                                "InstallDate|20261207|1",
                                "NoModify|1|4",
                                "NoRepair|1|4"};
  for (int i = 0; i < 15; ++i) EXPECT_EQ(operations.calls[2 + i], "SetRegistryValue " + key + "|" + values[i]);
}

TEST(UninstallWriterTest, IconSwitchesChooseTheEntry) {
  struct {
    int uninst, custom;
    const char* icon;
  } const cases[] = {
      {0, 0, ""},
      {1, 0, "C:\\Program Files\\Sample\\Uninst1.exe,0"},
      {0, 1, "C:\\Program Files\\Sample\\app.ico,3"},
      {1, 1, ""},
  };
  for (const auto& c : cases) {
    InstallSession session = FinishedSession();
    session.ScriptSettings.IconExtUninst = c.uninst;
    session.ScriptSettings.IconExtCustom = c.custom;
    session.ScriptSettings.IconExtPath = "<DefaultInstallPath>\\app.ico";
    session.ScriptSettings.IconExtIndex = 3;
    RecordingOperations operations;
    WriteUninstallData(session, operations, "", "20261207");
    EXPECT_EQ(operations.calls.size(), c.icon[0] ? 17u : 1u) << c.uninst << c.custom;
    if (c.icon[0] && operations.calls.size() > 3) {
      EXPECT_NE(operations.calls[3].find(c.icon), std::string::npos) << operations.calls[3];
    }
  }
}

// Nothing is registered for an installation whose uninstaller can't find its data: a
// file that can't be written whole, or a value that wouldn't read back as it was.
TEST(UninstallWriterTest, NoEntryWithoutBothFilesWhole) {
  const struct {
    const char* failing;       // "exe": every WriteWholeFile fails
    unsigned long error;
    const char* badFile;       // an installed file's name that can't be stored
    int exitCode;
    std::size_t calls;
  } cases[] = {
      {"exe", 112, "", kExitNoDiskSpace, 1},   // the uninstaller: nothing else tried
      {"exe", 5, "", kExitFailure, 1},
      {"", 0, "a\r\n[InstTasks]\r\nx = REGADDKEY", kExitFailure, 0},  // refused before any write
      {"", 0, " padded.txt ", kExitFailure, 0},
  };
  for (const auto& c : cases) {
    InstallSession session = FinishedSession();
    session.ScriptSettings.IconExtUninst = 1;
    if (c.badFile[0]) session.InstalledFiles.push_back(session.InstallPath + c.badFile);
    RecordingOperations operations;
    if (c.failing[0]) operations.failing.insert("WriteWholeFile");
    operations.writeError = c.error;
    EXPECT_EQ(WriteUninstallData(session, operations, "MZ", "20261207"), c.exitCode) << c.badFile;
    EXPECT_EQ(operations.calls.size(), c.calls) << c.badFile;
  }
  // Which names and values can't be stored.
  InstallSession session = FinishedSession();
  session.ScriptSettings.IconExtUninst = 1;
  session.UninstallTexts.push_back({"Key2", "two\nlines"});
  UninstallData data = SessionUninstallData(session, PathContext());
  EXPECT_EQ(UnstorableValue(data), "LocalizationUninstall: Key2");
  data.Texts.pop_back();
  data.InstTasks.push_back({"[Group", "x"});
  EXPECT_EQ(UnstorableValue(data), "InstTasks: [Group");
  data.InstTasks.back().Name = "Fine = name";
  EXPECT_FALSE(UnstorableValue(data).empty());
  data.InstTasks.back().Name = "Fine";
  data.InstTasks.back().Line = "x\xB6y  z";  // blanks inside stay
  EXPECT_EQ(UnstorableValue(data), "");
  EXPECT_EQ(ParseUninstallData(FormatUninstallData(data)).InstTasks.back().Line, "x\xB6y  z");
}

TEST(UninstallWriterTest, EntryNeedsItsKeyAndAName) {
  RecordingOperations operations;
  operations.failing.insert("CreateRegistryKey");
  UninstallEntry entry;
  entry.DisplayName = "Sample";
  EXPECT_EQ(RegisterUninstallEntry(operations, entry), 0);
  EXPECT_EQ(operations.calls.size(), 1u) << "no values without the key";

  RecordingOperations unnamed;
  entry.DisplayName.clear();
  EXPECT_EQ(RegisterUninstallEntry(unnamed, entry), 0);
  EXPECT_TRUE(unnamed.calls.empty()) << "values would land on the list's own key";
}

}  // namespace
}  // namespace corvalis
