// The installation run over a recorded front end and recorded operations: the order of
// its steps, the names it picks, the undo entries of the program group, the bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "installer/engine/run_installation.h"
#include "tests/engine/recording_operations.h"
#include "tests/support/task_lines.h"

namespace corvalis {
namespace {

// Writes its calls into the same list as the operations, so the order shows.
class RecordingFrontEnd final : public InstallationFrontEnd {
 public:
  explicit RecordingFrontEnd(RecordingOperations& operations) : log_(operations.calls) {}
  std::set<std::string> existing;
  Outcome unpacking = kGoOn;

  void ShowProgressPage() override { log_.push_back("ShowProgressPage"); }
  void SetProgress(int percent) override { log_.push_back("Bar " + std::to_string(percent)); }
  void DisableCancel() override { log_.push_back("DisableCancel"); }
  bool PathExists(const std::string& path) override { return existing.count(path) > 0; }
  Outcome UnpackProgramArchive(InstallSession& session) override {
    log_.push_back("Unpack " + session.InstallPath);
    return unpacking;
  }

 private:
  std::vector<std::string>& log_;
};

Choices SampleChoices(bool makeGroup = true) {
  Choices choices;
  choices.Destination = "C:\\Apps\\Sample\\";
  choices.Group = "C:\\Menu\\Sample";
  choices.MakeGroup = makeGroup;
  return choices;
}

InstallSession SampleSession() {
  InstallSession session;
  ScriptSettings& script = session.ScriptSettings;
  script.AppName = "Sample";
  script.Website = "http://127.0.0.1/";
  script.AutoCreateStartMenu = 1;
  script.CreateInternetLink = 1;
  script.CreateUninstallLink = 1;
  script.InstTasks = {{"Kill", Pilcrows("KILLTASK|a.exe, ,b.exe")},
                      {"Folder", Pilcrows("CREATEFOLDER|<DefaultInstallPath>Data")},
                      {"Later", Pilcrows("KILLTASK| c.exe ")}};
  for (int key = 0; key < kStubTextCount; ++key) session.StubTexts[key] = "K" + std::to_string(key);
  return session;
}

TEST(RunInstallationTest, StepsInOrderWithGroupAndNextFreeNames) {
  InstallSession session = SampleSession();
  RecordingOperations operations;
  RecordingFrontEnd frontEnd(operations);
  // An earlier installation's pair, and a folder where the next .dat would go.
  frontEnd.existing = {"C:\\Apps\\Sample\\Uninst0.exe", "C:\\Apps\\Sample\\Uninst0.dat",
                       "C:\\Apps\\Sample\\Uninst1.dat"};
  EXPECT_FALSE(RunInstallation(session, SampleChoices(), frontEnd, operations).Ends);

  EXPECT_EQ(session.UninstallerPath, "C:\\Apps\\Sample\\Uninst2.exe");
  EXPECT_EQ(session.UninstallDataPath, "C:\\Apps\\Sample\\Uninst2.dat");
  EXPECT_EQ(session.StartMenuGroupPath, "C:\\Menu\\Sample\\");
  const std::vector<std::string> expected = {
      "ShowProgressPage",
      "CreateFolder C:\\Menu\\Sample\\",
      "CreateInternetShortcut http://127.0.0.1/|C:\\Menu\\Sample\\Website.url",
      "CreateShellLink C:\\Apps\\Sample\\Uninst2.exe|C:\\Menu\\Sample\\Uninstall.lnk|||C:\\Apps\\Sample\\|0|0|"
      "C:\\Apps\\Sample\\Uninst2.exe|0",
      "KillProcessesByName a.exe",
      "KillProcessesByName b.exe",
      "KillProcessesByName c.exe",
      "Unpack C:\\Apps\\Sample\\",
      "Bar 0",
      "DisableCancel",
      "Bar 0",
      "Bar 33",
      "CreateFolder C:\\Apps\\Sample\\Data\\",
      "Bar 66",
  };
  EXPECT_EQ(operations.calls, expected);
  EXPECT_EQ(operations.statusLines,
            (std::vector<std::string>{"Preparing to install...", "Creating program groups...", "K81"}));
  ASSERT_EQ(session.UndoLog.size(), 4u);
  EXPECT_EQ(session.UndoLog[0].Name, "AutoStartMenuGroup");
  EXPECT_EQ(session.UndoLog[0].Line, Pilcrows("CREATEFOLDER|C:\\Menu\\Sample\\"));
  EXPECT_EQ(session.UndoLog[1].Name, "AutoStartMenuInternetLink");
  EXPECT_EQ(session.UndoLog[2].Name, "AutoStartMenuUninstallLink");
  EXPECT_EQ(session.UndoLog[2].Line, Pilcrows("NORMALLINK|C:\\Menu\\Sample\\Uninstall.lnk"));
  EXPECT_EQ(session.UndoLog[3].Name, "Folder");
}

TEST(RunInstallationTest, GroupRecordedEvenWhenItExistedAndNoTasksKeepCancel) {
  InstallSession session = SampleSession();
  session.ScriptSettings.InstTasks.clear();
  session.ScriptSettings.Website.clear();
  RecordingOperations operations;
  operations.failing = {"CreateFolder", "CreateShellLink"};
  RecordingFrontEnd frontEnd(operations);
  RunInstallation(session, SampleChoices(), frontEnd, operations);
  ASSERT_EQ(session.UndoLog.size(), 1u);
  EXPECT_EQ(session.UndoLog[0].Name, "AutoStartMenuGroup");
  EXPECT_EQ(session.UninstallerPath, "C:\\Apps\\Sample\\Uninst0.exe");
  EXPECT_EQ(std::count(operations.calls.begin(), operations.calls.end(), "DisableCancel"), 0);
  EXPECT_TRUE(std::none_of(operations.calls.begin(), operations.calls.end(),
                           [](const std::string& call) { return call.rfind("CreateInternetShortcut", 0) == 0; }))
      << "no link without a website";

  // The user chose no group; the script's settings stay as loaded.
  InstallSession noGroup = SampleSession();
  RecordingOperations quiet;
  RecordingFrontEnd quietFront(quiet);
  RunInstallation(noGroup, SampleChoices(false), quietFront, quiet);
  EXPECT_TRUE(noGroup.StartMenuGroupPath.empty());
  EXPECT_EQ(noGroup.UndoLog.size(), 1u) << "only the script's folder task";
  EXPECT_EQ(noGroup.ScriptSettings.AutoCreateStartMenu, 1);

  // An unpacking that ends the run (cancelled, failed) runs no task.
  InstallSession stopped = SampleSession();
  RecordingOperations stoppedOps;
  RecordingFrontEnd stoppedFront(stoppedOps);
  stoppedFront.unpacking = EndRun(kExitNoDiskSpace);
  const Outcome outcome = RunInstallation(stopped, SampleChoices(false), stoppedFront, stoppedOps);
  EXPECT_TRUE(outcome.Ends);
  EXPECT_EQ(outcome.ExitCode, kExitNoDiskSpace);
  EXPECT_EQ(stoppedOps.calls.back(), "Unpack C:\\Apps\\Sample\\");
}

TEST(RunInstallationTest, KillTaskNamesAndFolderLists) {
  const struct {
    const char* line;
    std::vector<std::string> names;
  } cases[] = {
      {"KILLTASK|a.exe, ,b.exe", {"a.exe", "b.exe"}},
      {"KILLTASK| one.exe ,two.exe,", {"one.exe", "two.exe"}},
      {"KILLTASK", {}},
      {"killtask|a.exe", {}},
      {"RUN|a.exe", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(KillTaskNames(Pilcrows(c.line)), c.names) << c.line;

  EXPECT_EQ(TaskProgress(0, 3), 0);
  EXPECT_EQ(TaskProgress(2, 3), 66);
  EXPECT_EQ(TaskProgress(0, 0), 0);

  const std::vector<std::string> folders =
      FoldersForEntries("C:\\A\\", {"x.txt", "Docs\\", "Docs\\a.txt", "docs\\Deep\\b.txt", "Other\\c.txt"});
  EXPECT_EQ(folders, (std::vector<std::string>{"C:\\A\\", "C:\\A\\Docs\\", "C:\\A\\docs\\Deep\\", "C:\\A\\Other\\"}));
  EXPECT_EQ(DeepestFirst(folders),
            (std::vector<std::string>{"C:\\A\\docs\\Deep\\", "C:\\A\\Docs\\", "C:\\A\\Other\\", "C:\\A\\"}));
}

}  // namespace
}  // namespace corvalis
