// Whole installations under Wine, driven through the wizard by the robot; afterwards the
// registry, files, links, services and the uninstall data are read back as a user's
// system holds them. Each test uses names of its own and removes what it installed.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/control_ids.h"
#include "common/folder_tree.h"
#include "common/system_operations.h"
#include "common/uninstall_data.h"
#include "installer/wizard/wizard_rules.h"
#include "tests/support/test_support.h"
#include "tests/support/installer_run.h"
#include "tests/support/wizard_steps.h"
#include "tools/winrobot/winrobot.h"

namespace {

using namespace corvalis;
using namespace installer_e2e;
using namespace corvalis::testing;

const char kConfirmTitle[] = "Please confirm";

std::string ProgramFiles() { return ShellFolder(CSIDL_PROGRAM_FILES); }
std::string Desktop() { return ShellFolder(CSIDL_DESKTOPDIRECTORY); }

std::string WithoutTrailing(std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

std::string LinkTarget(const std::string& path) {
  LinkFields fields;
  ReadLink(path, fields);
  return fields.path;
}

void RemoveService(const char* name) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return;
  if (SC_HANDLE service = OpenServiceA(manager, name, SERVICE_ALL_ACCESS)) {
    SERVICE_STATUS status = {};
    ControlService(service, SERVICE_CONTROL_STOP, &status);
    for (int i = 0; i < 100 && QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED; ++i) {
      Sleep(50);
    }
    DeleteService(service);
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
}

bool ServiceExists(const char* name) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = manager ? OpenServiceA(manager, name, SERVICE_QUERY_STATUS) : nullptr;
  if (service) CloseServiceHandle(service);
  if (manager) CloseServiceHandle(manager);
  return service != nullptr;
}

// One installation's traces: its folder, its program group, its uninstall entry.
struct Installed {
  std::string appName;
  std::string folder() const { return ProgramFiles() + appName + "\\"; }
  std::string group() const { return AllUsersPrograms() + appName + "\\"; }
  void Remove() const {
    DeleteFolderTree(folder());
    DeleteFolderTree(group());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kUninstallEntryKey + appName).c_str());
  }
};

std::string Joined(const std::vector<ChecklistItem>& items) {
  std::string text;
  for (const ChecklistItem& item : items) text += (item.ticked ? "[x] " : "[ ] ") + item.text + "\n";
  return text;
}

// The every-task package's traces on the system, and their removal.
struct EveryTaskSystem {
  const Installed installed{"Corvalis Every Task"};
  const std::string app = installed.folder();
  const std::string group = installed.group();
  const std::string key = "Software\\Corvalis Every Task";
  const std::string serverKey = "Software\\CorvalisEngineTests\\Servers";
  const std::string ranNow = TempPath() + "corvalis_every_task_run.txt";
  const std::string ranAtFinish = TempPath() + "corvalis_every_task_finish.txt";
  const std::string payload = "every task payload\r\n" + std::string(3000, 'p');

  // Nothing of an earlier run; the download ready on the loopback server.
  ::testing::AssertionResult Prepare() const {
    CleanUp();
    const char* httpRoot = std::getenv("CORVALIS_HTTP_ROOT");
    if (!httpRoot) return ::testing::AssertionFailure() << "no CORVALIS_HTTP_ROOT";
    if (!WriteWholeFile(winrobot::UnixToWindowsPath(httpRoot) + "\\every_task.bin", payload)) {
      return ::testing::AssertionFailure() << "can't serve the download";
    }
    return ::testing::AssertionSuccess();
  }
  void CleanUp() const {
    RemoveService("CorvalisEveryTask");
    RemoveService("CorvalisEveryTaskGone");
    installed.Remove();
    RegDeleteKeyA(HKEY_CURRENT_USER, (key + "\\Scratch").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
    DisassociateExtension("cevt", "notepad.exe");
    DeleteFileA((Desktop() + "Corvalis Every Task.lnk").c_str());
    DeleteFileA((Desktop() + "Corvalis Every Task web.url").c_str());
    DeleteFileA(ranNow.c_str());
    DeleteFileA(ranAtFinish.c_str());
    HKEY servers = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, serverKey.c_str(), 0, KEY_SET_VALUE, &servers) == ERROR_SUCCESS) {
      RegDeleteValueA(servers, (app + "every_task_server.dll").c_str());
      RegCloseKey(servers);
    }
  }
  // Everything the installation made: registry, files, links, association, services,
  // server, the uninstall entry and the data file line by line.
  void ExpectInstalled() const;
};

TEST(EveryTask, InstallsAndLeavesItsUninstallData) {
  if (!std::getenv("CORVALIS_HTTP_ROOT")) GTEST_SKIP() << "runs under http_test_server.py (install_e2e_every_task)";
  const EveryTaskSystem system;
  ASSERT_TRUE(system.Prepare());
  const std::string& app = system.app;
  {
    InstallerRun run;
    HWND wizard = InstallToFinishPage(run, "every_task", true, {app + "every_task.bin"});
    ASSERT_NE(wizard, nullptr);
    const std::vector<ChecklistItem> items = ChecklistItems(Checklist(wizard));
    EXPECT_EQ(Joined(items),
              "[x] Create shortcut on the Desktop for the sample\n"
              "[x] Create internet link on the Desktop\n"
              "[x] Run the finish command\n");
    // Not there before "Finish".
    EXPECT_FALSE(Exists(Desktop() + "Corvalis Every Task.lnk"));
    Click(wizard, kIdWizardFinish);
    ASSERT_TRUE(run.WaitEnd(kStartMs));
  }
  system.ExpectInstalled();
  EXPECT_TRUE(Exists(system.ranAtFinish));
  system.CleanUp();
}

// The same package as a deployment tool installs it, and removes it again with the
// uninstall entry's quiet command: no window either way, and the command ends only once
// everything is gone.
// Both packages, the ZIP one and its solid variant, install the same files, records and
// log lines, and leave nothing behind.
TEST(EveryTask, VerySilentInstallationAndQuietUninstallation) {
  if (!std::getenv("CORVALIS_HTTP_ROOT")) GTEST_SKIP() << "runs under http_test_server.py (install_e2e_every_task)";
  std::string zipData, zipLines;
  for (const std::string package : {"every_task", "every_task_solid"}) {
    SCOPED_TRACE(package);
    const EveryTaskSystem system;
    ASSERT_TRUE(system.Prepare());
    const std::string& app = system.app;
    const std::string log = TempPath() + UniqueName("corv_every") + ".log";
    {
      WindowWatch watch;
      InstallerRun run;
      ASSERT_TRUE(run.Start(package, "", "/VERYSILENT /DIR=\"" + app + "\" /LOG=\"" + log + "\""));
      ASSERT_TRUE(run.WaitEnd(kStartMs, 0));
      EXPECT_TRUE(watch.Titles().empty()) << *watch.Titles().begin();
    }
    system.ExpectInstalled();
    EXPECT_FALSE(Exists(system.ranAtFinish)) << "a silent run starts no program of the finish page";
    const std::string logText = ReadWholeFile(log);
    EXPECT_NE(logText.find("message \"" + app + "every_task.bin\": http://127.0.0.1/every_task.bin"), std::string::npos)
        << "the download's box goes to the log";
    // What was unpacked and done, in order, without the times.
    std::string lines;
    for (std::size_t at = logText.find(" unpacked "); at != std::string::npos; at = logText.find(" unpacked ", at + 1)) {
      lines += logText.substr(at, logText.find("\r\n", at) - at) + "\n";
    }
    for (std::size_t at = logText.find(" task "); at != std::string::npos; at = logText.find(" task ", at + 1)) {
      lines += logText.substr(at, logText.find("\r\n", at) - at) + "\n";
    }
    const std::string data = ReadWholeFile(app + "Uninst0.dat");
    if (zipData.empty()) {
      zipData = data;
      zipLines = lines;
    } else {
      EXPECT_TRUE(data == zipData) << "the uninstall data differ";
      EXPECT_EQ(lines, zipLines);
    }

    const std::string entry = kUninstallEntryKey + system.installed.appName;
    const std::string quiet = ReadText(HKEY_LOCAL_MACHINE, entry, "QuietUninstallString");
    {
      WindowWatch watch;
      EXPECT_EQ(RunProgram("cmd /c " + quiet, 120000), 0);
      EXPECT_TRUE(watch.Titles().empty()) << *watch.Titles().begin();
    }
    // The moved and the downloaded file are not in the uninstall data: they keep the folder.
    for (const char* gone : {"Uninst0.exe", "Uninst0.dat", "Docs\\", "Made\\Guide copy.txt", "every_task_service.exe"}) {
      EXPECT_FALSE(Exists(app + gone)) << gone;
    }
    EXPECT_FALSE(Exists(system.group));
    EXPECT_FALSE(Exists(Desktop() + "Corvalis Every Task.lnk"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, entry));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, system.key));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".cevt"));
    EXPECT_FALSE(ServiceExists("CorvalisEveryTask"));
    DeleteFileA(log.c_str());
    RemoveTempFiles("Corvalis Every Task-Uninstall-*.log");
    system.CleanUp();
  }
}

void EveryTaskSystem::ExpectInstalled() const {
  // Registry: the values written, the deleted value and key gone, the lower-case task ignored.
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, key, "Path"), app);
  EXPECT_EQ(ReadNumber(HKEY_CURRENT_USER, key, "Count"), 7);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, key, "Old"), "<missing>");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key + "\\Scratch"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Corvalis Every Task Lower"));

  // Files and folders.
  EXPECT_TRUE(Exists(app + "Made\\Guide copy.txt"));
  EXPECT_EQ(ReadWholeFile(app + "Made\\Guide copy.txt"), ReadWholeFile(app + "Docs\\Guide.txt"));
  EXPECT_TRUE(Exists(app + "Made\\Notes.txt"));
  EXPECT_FALSE(Exists(app + "Notes.txt"));
  EXPECT_FALSE(Exists(app + "Scratch.txt"));
  EXPECT_FALSE(Exists(app + "Old\\"));
  EXPECT_EQ(ReadWholeFile(app + "every_task.bin"), payload);
  EXPECT_TRUE(Exists(app + "Uninst0.exe"));
  EXPECT_EQ(NotTheShippedUninstaller(app + "Uninst0.exe"), "");
  EXPECT_TRUE(Exists(ranNow));

  // Links, read back.
  const struct {
    std::string path, target, workingFolder, iconFile;
    int iconIndex;
  } links[] = {
      {group + "Guide.lnk", app + "Docs\\Guide.txt", app + "Docs\\", app + "Docs\\Guide.txt", 0},
      {group + "Uninstall.lnk", app + "Uninst0.exe", app, app + "Uninst0.exe", 0},
      {Desktop() + "Corvalis Every Task.lnk", app + "Sample.txt", app, app + "Sample.txt", 0},
  };
  for (const auto& expected : links) {
    LinkFields link;
    EXPECT_TRUE(ReadLink(expected.path, link)) << expected.path;
    EXPECT_EQ(link.path, expected.target) << expected.path;
    EXPECT_EQ(WithoutTrailing(link.workingFolder), WithoutTrailing(expected.workingFolder)) << expected.path;
    EXPECT_EQ(link.iconFile, expected.iconFile) << expected.path;
    EXPECT_EQ(link.iconIndex, expected.iconIndex) << expected.path;
  }
  for (const std::string& url : {group + "Website.url", group + "Corvalis Every Task on the web.url",
                                 Desktop() + "Corvalis Every Task web.url"}) {
    EXPECT_NE(ReadWholeFile(url).find("URL=http://127.0.0.1/every-task"), std::string::npos) << url;
  }

  // Association, services, server.
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, ".cevt"));
  EXPECT_TRUE(ServiceExists("CorvalisEveryTask"));
  EXPECT_FALSE(ServiceExists("CorvalisEveryTaskGone"));
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, serverKey, app + "every_task_server.dll"), "registered");
  const std::string entry = kUninstallEntryKey + installed.appName;
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, entry, "UninstallString"), "\"" + app + "Uninst0.exe\"");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, entry, "QuietUninstallString"), "\"" + app + "Uninst0.exe\" /VERYSILENT");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, entry, "DisplayVersion"), "1.0");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, entry, "InstallLocation"), app);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, entry, "InstallDate").size(), 8u);
  EXPECT_GT(ReadNumber(HKEY_LOCAL_MACHINE, entry, "EstimatedSize"), 0);
  EXPECT_EQ(ReadNumber(HKEY_LOCAL_MACHINE, entry, "NoModify"), 1);

  // The data file, line by line.
  const std::string p = "\xB6";
  const std::string system = ShellFolder(CSIDL_SYSTEM);
  const std::vector<std::string> expected = {
      "[LocalizationUninstall]",
      "Key0 = Please confirm",
      "Key1 = Are you sure you want to uninstall $APPNAME$?",
      "Key2 = Cancel",
      "Key3 = Processing uninstallation... Please wait...",
      "Key4 = Restart needed",
      "Key5 = In order to finish the uninstallation, your computer needs to be restarted. Would you like to "
      "restart now?",
      "Key6 = Success",
      "Key7 = The program was uninstalled successfully.",
      "[uConfig]",
      "AppName = Corvalis Every Task",
      "InstallPath = " + app,
      "RebootRequired = 0",
      "SkipExtString = log",
      "[InstTasks]",
      "AutoStartMenuGroup = CREATEFOLDER" + p + group,
      "AutoStartMenuInternetLink = NORMALLINK" + p + group + "Website.url",
      "AutoStartMenuUninstallLink = NORMALLINK" + p + group + "Uninstall.lnk",
      "AddKey = REGADDKEY" + p + "HKCU" + p + p + p + key,
      "AddPath = REGADDVALUE" + p + "HKCU" + p + "Path" + p + app + p + key + p + "REG_SZ",
      "AddCount = REGADDVALUE" + p + "HKCU" + p + "Count" + p + "7" + p + key + p + "REG_DWORD",
      "AddOld = REGADDVALUE" + p + "HKCU" + p + "Old" + p + "x" + p + key + p + "REG_SZ",
      "AddScratch = REGADDKEY" + p + "HKCU" + p + p + p + key + "\\Scratch",
      "MakeFolder = CREATEFOLDER" + p + app + "Made\\",
      "CopyGuide = COPYFILE" + p + app + "Made\\Guide copy.txt",
      "Associate = ASSOCIATEEXTENSION" + p + "notepad.exe" + p + "cevt",
      "GuideLink = NORMALLINK" + p + group + "Guide.lnk",
      "WebLink = NORMALLINK" + p + group + "Corvalis Every Task on the web.url",
      "Service = INSTALLSERVICE" + p + "Corvalis Every Task Service",
      "SecondService = INSTALLSERVICE" + p + "Corvalis Every Task Gone",
      "Register = REGISTERSERVER" + p + app + "every_task_server.dll",
      "DesktopLink = NORMALLINK" + p + Desktop() + "Corvalis Every Task.lnk",
      "DesktopWeb = NORMALLINK" + p + Desktop() + "Corvalis Every Task web.url",
      "[UninstTasks]",
      "Farewell = RUN" + p + "1" + p + "1" + p + system + "cmd.exe" + p + "/c echo gone>\"" + TempPath() +
          "corvalis_every_task_uninstalled.txt\"",
      "[Files]",
      "CopyFile0 = " + app + "Data\\",
      "CopyFile1 = " + app + "Data\\settings.ini",
      "CopyFile2 = " + app + "Docs\\",
      "CopyFile3 = " + app + "Docs\\Guide.txt",
      "CopyFile4 = " + app + "Notes.txt",
      "CopyFile5 = " + app + "Old\\",
      "CopyFile6 = " + app + "Old\\leftover.txt",
      "CopyFile7 = " + app + "ReadMe.txt",
      "CopyFile8 = " + app + "Sample.txt",
      "CopyFile9 = " + app + "Scratch.txt",
      "CopyFile10 = " + app + "every_task_server.dll",
      "CopyFile11 = " + app + "every_task_service.exe",
  };
  const std::string data = ReadWholeFile(app + "Uninst0.dat");
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < data.size();) {
    const std::size_t end = data.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "a line without CR LF at the end";
    lines.push_back(data.substr(start, end - start));
    start = end + 2;
  }
  for (std::size_t i = 0; i < std::max(lines.size(), expected.size()); ++i) {
    EXPECT_EQ(i < lines.size() ? lines[i] : "<none>", i < expected.size() ? expected[i] : "<none>") << "line " << i + 1;
  }
}

TEST(FinishPage, DeferredItemsRestartLastAndOnlyTickedOnesRun) {
  const Installed installed{"Corvalis Finish"};
  installed.Remove();
  const std::string app = installed.folder();
  InstallerRun run;
  HWND wizard = InstallToFinishPage(run, "inst_finish", false);
  ASSERT_NE(wizard, nullptr);
  HWND list = Checklist(wizard);
  EXPECT_TRUE(IsWindowVisible(list));
  std::vector<ChecklistItem> items = ChecklistItems(list);
  ASSERT_EQ(Joined(items),
            "[x] Create shortcut in the program folder for ticked\n"
            "[x] Create shortcut in the program folder for unticked\n"
            "[x] Create internet link in the program folder\n"
            "[x] Run the command\n"
            "[x] Restart computer (recommended)\n");
  EXPECT_FALSE(Exists(app + "Ticked.lnk"));
  EXPECT_FALSE(Exists(app + "Web.url"));
  // The restart item is never left ticked here: it would restart the machine.
  ASSERT_TRUE(SetChecklistItem(list, 4, false));
  ASSERT_TRUE(SetChecklistItem(list, 1, false));
  items = ChecklistItems(list);
  ASSERT_EQ(items.size(), 5u);
  ASSERT_FALSE(items[4].ticked);
  ASSERT_FALSE(items[1].ticked);
  Click(wizard, kIdWizardFinish);
  ASSERT_TRUE(run.WaitEnd(kStartMs, 3010)) << "the restart the package asks for is left to the user";

  EXPECT_EQ(LinkTarget(app + "Ticked.lnk"), app + "Sample.txt");
  EXPECT_FALSE(Exists(app + "Unticked.lnk"));
  EXPECT_TRUE(Exists(app + "Web.url"));
  EXPECT_TRUE(Exists(app + "ran.txt"));
  const std::string data = ReadWholeFile(app + "Uninst0.dat");
  EXPECT_NE(data.find("Ticked = NORMALLINK\xB6" + app + "Ticked.lnk\r\n"), std::string::npos) << data;
  EXPECT_EQ(data.find("Unticked"), std::string::npos);
  installed.Remove();
}

TEST(SecondInstallation, NextFreeNamesAndTheGroupRecordedAgain) {
  const Installed installed{"Corvalis Twice"};
  installed.Remove();
  for (int pass = 0; pass < 2; ++pass) {
    InstallerRun run;
    HWND wizard = InstallToFinishPage(run, "inst_twice", true);
    ASSERT_NE(wizard, nullptr);
    EXPECT_FALSE(IsWindowVisible(Checklist(wizard))) << "no finish actions";
    Click(wizard, kIdWizardFinish);
    ASSERT_TRUE(run.WaitEnd(kStartMs));
  }
  const std::string app = installed.folder();
  EXPECT_EQ(NotTheShippedUninstaller(app + "Uninst0.exe"), "");
  EXPECT_TRUE(ReadWholeFile(app + "Uninst1.exe") == ReadWholeFile(app + "Uninst0.exe"));
  const std::string groupLine = "AutoStartMenuGroup = CREATEFOLDER\xB6" + installed.group() + "\r\n";
  for (const char* name : {"Uninst0.dat", "Uninst1.dat"}) {
    EXPECT_NE(ReadWholeFile(app + name).find(groupLine), std::string::npos) << name;
  }
  EXPECT_FALSE(Exists(app + "Uninst2.exe"));
  EXPECT_EQ(LinkTarget(installed.group() + "Uninstall.lnk"), app + "Uninst1.exe");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallEntryKey + installed.appName, "UninstallString"),
            "\"" + app + "Uninst1.exe\"");
  installed.Remove();
}

int ProgressPosition(HWND wizard) {
  DWORD_PTR position = 0;
  SendMessageTimeoutA(Control(wizard, kIdInstallProgress), PBM_GETPOS, 0, 0, SMTO_NORMAL, kStepMs, &position);
  return static_cast<int>(position);
}

// The ZIP package and its solid variant.
TEST(CancelDuringUnpacking, NoGoesOnYesRemovesOnlyWhatTheUnpackingMade) {
  for (const std::string package : {"inst_cancel", "inst_cancel_solid"}) {
    SCOPED_TRACE(package);
    const Installed installed{"Corvalis Cancel"};
    installed.Remove();
    const std::string app = installed.folder();
    // There before: the destination and an empty folder the archive also holds.
    ASSERT_TRUE(CreateDirectoryA(app.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((app + "Keep").c_str(), nullptr));

    InstallerRun run;
    ASSERT_TRUE(run.Start(package));
    HWND wizard = run.WaitForWizard();
    ASSERT_NE(wizard, nullptr);
    const std::string workFolder = run.WorkFolder();
    ASSERT_TRUE(WaitForPage(wizard, kPageWelcome));
    Click(wizard, kIdWizardNext);
    ASSERT_TRUE(WaitForPage(wizard, kPageDestination));
    Click(wizard, kIdWizardNext);
    ASSERT_TRUE(WaitForPage(wizard, kPageProgress));
    ASSERT_TRUE(Eventually([&] { return Exists(app + "Part0\\"); }));

    Click(wizard, kIdWizardCancel);
    EXPECT_EQ(AnswerBox(run, kConfirmTitle, "No"),
              "Are you sure you want to stop the installation now? Press 'No' to continue or 'Yes' to end this "
              "program. You can run this installer at a later time and continue the installation procedure.");
    const int before = ProgressPosition(wizard);
    ASSERT_TRUE(Eventually([&] { return ProgressPosition(wizard) > before; }, kStepMs)) << "the unpacking stopped";
    ASSERT_EQ(VisiblePage(wizard), kPageProgress) << "the unpacking ended before the second cancel";

    Click(wizard, kIdWizardCancel);
    HWND confirm = winrobot::WaitForMessageBox(run.Pid(), kConfirmTitle, kStepMs);
    ASSERT_NE(confirm, nullptr) << winrobot::LastError();
    // Something else writes into a folder the unpacking made, while the question waits.
    ASSERT_EQ(WriteWholeFile(app + "Part0\\foreign.txt", "not ours"), 1);
    ASSERT_TRUE(winrobot::AnswerMessageBox(confirm, "Yes")) << winrobot::LastError();
    ASSERT_TRUE(run.WaitEnd(kStartMs, 1602));

    EXPECT_FALSE(Exists(workFolder)) << "work folder left behind";
    EXPECT_TRUE(Exists(app + "Keep\\")) << "a folder that was there before";
    EXPECT_FALSE(Exists(app + "Keep\\k.txt"));
    EXPECT_EQ(ListFolder(app + "Part0\\*", false), std::vector<std::string>{"foreign.txt"});
    EXPECT_TRUE(ListFolder(app + "Part0\\*", true).empty());
    EXPECT_EQ(ListFolder(app + "*", true), (std::vector<std::string>{"Keep", "Part0"}));
    EXPECT_TRUE(ListFolder(app + "*", false).empty());
    installed.Remove();
  }
}

}  // namespace
