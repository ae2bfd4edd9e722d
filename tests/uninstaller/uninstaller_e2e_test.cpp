// The shipped Uninstaller.exe under Wine on installations laid out by hand: files,
// registry, a running program, a service, a registered server, an association and an
// uninstall entry, with the robot answering its boxes; and the round trip of the
// every-task package: install, uninstall, and the registry and folders compared.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/ansi_text.h"
#include "common/control_ids.h"
#include "common/folder_tree.h"
#include "common/operations_settings.h"
#include "common/private_folder.h"
#include "common/registry_roots.h"
#include "common/special_folders.h"
#include "common/system_operations.h"
#include "common/uninstall_data.h"
#include "tests/support/test_support.h"
#include "tests/support/installer_run.h"
#include "tests/support/wizard_steps.h"
#include "tools/winrobot/winrobot.h"
#include "uninstaller/uninstall_run.h"

namespace corvalis {
namespace {

using namespace corvalis::testing;

constexpr int kBoxMs = 60000;
constexpr char kConfirmTitle[] = "Uninstall test: confirm";
constexpr char kRestartTitle[] = "Uninstall test: restart";
constexpr char kDoneTitle[] = "Uninstall test: done";
constexpr char kSep[] = "\xB6";

bool ValueExists(HKEY root, const std::string& path, const std::string& name) {
  return ReadText(root, path, name) != "<missing>";
}

bool ServiceExists(const std::string& name) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = manager ? OpenServiceA(manager, name.c_str(), SERVICE_QUERY_STATUS) : nullptr;
  if (service) CloseServiceHandle(service);
  if (manager) CloseServiceHandle(manager);
  return service != nullptr;
}

void PutFile(const std::string& path, const std::string& bytes) {
  SHCreateDirectoryExA(nullptr, FolderPart(path).c_str(), nullptr);
  ASSERT_EQ(WriteWholeFile(path, bytes), 1) << path;
}

// The uninstaller's copies in the temporary folder: numbered .exe and .dat files, there or
// in the private folders an elevated uninstaller makes for them, and those folders.
std::set<std::string> TempCopies() {
  std::set<std::string> names;
  const std::string temp = TemporaryFolder();
  auto addCopies = [&](const std::string& folder) {
    for (const std::string& name : installer_e2e::ListFolder(temp + folder + "*", false)) {
      const std::size_t dot = name.find('.');
      if (dot > 0 && dot != std::string::npos && name.find_first_not_of("0123456789") == dot &&
          (name.substr(dot) == ".exe" || name.substr(dot) == ".dat")) {
        names.insert(folder + name);
      }
    }
  };
  addCopies("");
  for (const std::string& name : installer_e2e::ListFolder(temp + "*", true)) {
    if (name.rfind(kUninstallerPrivatePrefix, 0) != 0) continue;
    names.insert(name + "\\");
    addCopies(name + "\\");
  }
  return names;
}

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 250) {
    if (done()) return true;
    Sleep(250);
  }
  return done();
}

// One installation folder below C:\, with the shipped uninstaller and its data file.
class Installation {
 public:
  Installation() : base_("C:\\CorvalisUninstTest\\" + UniqueName("u") + "\\"), dir_(base_ + "App\\") {
    data_.AppName = "Corvalis Uninstall Test " + UniqueName("");
    data_.InstallPath = dir_;
    const char* texts[] = {kConfirmTitle, "Remove $AppName$?", "Cancel", "Removing...", kRestartTitle,
                           "Restart?", kDoneTitle, "Removed."};
    for (int i = 0; i < 8; ++i) data_.Texts.push_back({"Key" + std::to_string(i), texts[i]});
  }
  ~Installation() {
    DeleteFolderTree(base_);
    RemoveDirectoryA("C:\\CorvalisUninstTest");  // once no other installation is in it
  }

  const std::string& Base() const { return base_; }
  const std::string& Dir() const { return dir_; }
  UninstallData& Data() { return data_; }
  std::string Program() const { return dir_ + "Uninst0.exe"; }

  // A file of the installation, listed in "Files".
  void AddFile(const std::string& relative, const std::string& bytes = "data") {
    PutFile(dir_ + relative, bytes);
    data_.Files.push_back(dir_ + relative);
  }
  void Record(const std::string& name, const std::string& line) { data_.InstTasks.push_back({name, line}); }

  void Write(bool withData = true) {
    SHCreateDirectoryExA(nullptr, dir_.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA(winrobot::DistFilePath("Uninstaller.exe").c_str(), Program().c_str(), FALSE));
    if (withData) PutFile(dir_ + "Uninst0.dat", FormatUninstallData(data_));
  }

  // Starts stage 1 and answers the confirmation; the stage 2 copy runs on.
  void StartAndConfirm(const std::string& answer) {
    before_ = TempCopies();
    winrobot::ProcessGuard stage1;
    ASSERT_TRUE(winrobot::StartProcess("\"" + Program() + "\"", &stage1.process)) << winrobot::LastError();
    HWND box = winrobot::WaitForMessageBox(0, kConfirmTitle, kBoxMs);
    ASSERT_NE(box, nullptr) << winrobot::LastError();
    EXPECT_EQ(winrobot::MessageBoxText(box), "Remove " + data_.AppName + "?");
    ASSERT_TRUE(winrobot::AnswerMessageBox(box, answer)) << winrobot::LastError();
  }
  void Answer(const std::string& title, const std::string& answer) {
    HWND box = winrobot::WaitForMessageBox(0, title, kBoxMs);
    ASSERT_NE(box, nullptr) << winrobot::LastError();
    ASSERT_TRUE(winrobot::AnswerMessageBox(box, answer)) << winrobot::LastError();
  }
  // The copy and its data file are gone once the command processor has run.
  void ExpectTempCopiesGone() {
    EXPECT_TRUE(WaitFor([&] { return TempCopies() == before_; }, 60000)) << "the temporary copy stays";
  }

 private:
  std::string base_;
  std::string dir_;
  UninstallData data_;
  std::set<std::string> before_;
};

TEST(UninstallerRun, RemovesEveryRecordedChange) {
  OperationsSettings settings;
  settings.OsVersionCode = kOsVistaWorkstation;
  ScopedOperationsSettings scoped(settings);
  Installation install;
  const std::string& dir = install.Dir();
  const std::string unique = UniqueName("cvu");
  const std::string regKey = "Software\\CorvalisUninstTest\\" + unique;
  const std::string entryKey = kUninstallEntryKey + install.Data().AppName;
  const std::string service = "CvUninst" + unique;
  const std::string serviceDisplay = "Corvalis uninstall test " + unique;
  const std::string ext = "x" + std::to_string(GetTickCount() % 100000);
  const std::string serverKey = "Software\\CorvalisEngineTests\\Servers";
  const std::string runs = install.Base() + "runs";

  install.AddFile("Docs\\readme.txt");
  install.AddFile("zero.bin", "");
  ASSERT_TRUE(CopyFileA(HelperPath("sleeper.exe").c_str(), (dir + "CvSleep.exe").c_str(), FALSE));
  install.Data().Files.push_back(dir + "CvSleep.exe");
  ASSERT_TRUE(CopyFileA(HelperPath("test_service.exe").c_str(), (dir + "svc.exe").c_str(), FALSE));
  install.Data().Files.push_back(dir + "svc.exe");
  ASSERT_TRUE(CopyFileA(HelperPath("test_server.dll").c_str(), (dir + "server.dll").c_str(), FALSE));
  install.Data().Files.push_back(dir + "server.dll");
  CreateDirectoryA((dir + "Empty\\").c_str(), nullptr);
  // Two program groups: one empties, one holds a file of the user's.
  const std::string group = install.Base() + "Menu\\Sample\\";
  const std::string keptGroup = install.Base() + "Menu\\Kept\\";
  PutFile(group + "Run.lnk", "link");
  PutFile(keptGroup + "Run.lnk", "link");
  PutFile(keptGroup + "mine.txt", "mine");
  PutFile(install.Base() + "Copied\\copy.txt", "copy");

  install.Record("Group", std::string("CREATEFOLDER") + kSep + group);
  install.Record("Link", std::string("NORMALLINK") + kSep + group + "Run.lnk");
  install.Record("Group2", std::string("CREATEFOLDER") + kSep + keptGroup);
  install.Record("Link2", std::string("NORMALLINK") + kSep + keptGroup + "Run.lnk");
  install.Record("Copy", std::string("COPYFILE") + kSep + install.Base() + "Copied\\copy.txt");
  install.Record("Value", std::string("REGADDVALUE") + kSep + "HKCU" + kSep + "Name" + kSep + "x" + kSep + regKey +
                              kSep + "1");
  install.Record("Key", std::string("REGADDKEY") + kSep + "HKCU" + kSep + kSep + kSep + regKey);
  install.Record("Assoc", std::string("ASSOCIATEEXTENSION") + kSep + "CvSleep.exe" + kSep + ext);
  install.Record("Service", std::string("INSTALLSERVICE") + kSep + serviceDisplay);
  install.Record("Server", std::string("REGISTERSERVER") + kSep + dir + "server.dll");
  CreateDirectoryA(runs.c_str(), nullptr);
  install.Data().UninstTasks.push_back(
      {"Both", std::string("RUN") + kSep + "1" + kSep + "1" + kSep + HelperPath("run_marker.exe") + kSep +
                   "\"" + runs + "\""});
  install.Write();

  ASSERT_EQ(WriteRegistryValue(HKEY_CURRENT_USER, regKey, "Name", "x", kRegistryText, ""), 1);
  ASSERT_EQ(WriteRegistryValue(HKEY_LOCAL_MACHINE, entryKey, "DisplayName", "x", kRegistryText, ""), 1);
  AssociateExtension(ext, "Uninstall test", dir + "CvSleep.exe", dir + "CvSleep.exe,0");
  ASSERT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "." + ext));
  ASSERT_EQ(InstallService(service, serviceDisplay, dir + "svc.exe", "", 3), 1);
  ASSERT_EQ(RegisterServer(dir + "server.dll", 1), 1);
  ASSERT_TRUE(ValueExists(HKEY_CURRENT_USER, serverKey, dir + "server.dll"));
  winrobot::ProcessGuard sleeper;
  ASSERT_TRUE(winrobot::StartProcess("\"" + dir + "CvSleep.exe\"", &sleeper.process));

  install.StartAndConfirm("Yes");
  install.Answer(kDoneTitle, "OK");
  install.ExpectTempCopiesGone();

  DWORD code = 0;
  EXPECT_TRUE(winrobot::WaitProcess(sleeper.process, 5000, &code)) << "the running program was not ended";
  EXPECT_FALSE(Exists(dir)) << "install folder";
  EXPECT_FALSE(Exists(group)) << "emptied program group";
  EXPECT_TRUE(Exists(keptGroup + "mine.txt"));
  EXPECT_FALSE(Exists(keptGroup + "Run.lnk"));
  EXPECT_FALSE(Exists(install.Base() + "Copied\\copy.txt"));
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, regKey, "Name"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, regKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, entryKey));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "." + ext));
  EXPECT_FALSE(ServiceExists(service)) << "found by its display name, stopped and deleted";
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, serverKey, dir + "server.dll")) << "server unregistered";
  auto runCount = [&] { return installer_e2e::ListFolder(runs + "\\run*.txt", false).size(); };
  EXPECT_TRUE(WaitFor([&] { return runCount() == 2; }, 10000)) << "RUN with both flags starts twice: " << runCount();
  if (ServiceExists(service)) RemoveServiceByName(service);
  DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\CorvalisUninstTest", "");
}

TEST(UninstallerRun, KeptExtensionsKeepTheirFoldersAndRestartNoEndsQuietly) {
  Installation install;
  install.Data().SkipExtString = "ini, log";
  install.Data().RebootRequired = 1;
  install.AddFile("a.INI");
  install.AddFile("Logs\\Deep\\b.Log", "1");
  install.AddFile("Logs\\c.txt");
  install.AddFile("d.txt");
  CreateDirectoryA((install.Dir() + "Empty\\").c_str(), nullptr);
  install.Write();

  install.StartAndConfirm("Yes");
  install.Answer(kRestartTitle, "No");
  install.ExpectTempCopiesGone();
  EXPECT_EQ(winrobot::WaitForMessageBox(0, kDoneTitle, 1000), nullptr) << "no success message after a restart question";
  for (const char* kept : {"a.INI", "Logs\\Deep\\b.Log"}) EXPECT_TRUE(Exists(install.Dir() + kept)) << kept;
  for (const char* gone : {"Logs\\c.txt", "d.txt", "Empty\\", "Uninst0.exe", "Uninst0.dat"}) {
    EXPECT_FALSE(Exists(install.Dir() + gone)) << gone;
  }
}

TEST(UninstallerRun, NoAtTheConfirmationDeletesNothing) {
  Installation install;
  install.AddFile("a.txt");
  CreateDirectoryA((install.Dir() + "Empty\\").c_str(), nullptr);
  install.Write();
  install.StartAndConfirm("No");
  install.ExpectTempCopiesGone();
  for (const char* kept : {"a.txt", "Empty\\", "Uninst0.exe", "Uninst0.dat"}) {
    EXPECT_TRUE(Exists(install.Dir() + kept)) << kept;
  }
}

TEST(UninstallerRun, DamagedInstallPathRemovesNoFolderTree) {
  // Relative: the tree steps would have worked below the copy's folder, the temporary one.
  const std::string sentinel = UniqueName("Sentinel");
  const std::string temp = TemporaryFolder() + sentinel + "\\";
  CreateDirectoryA(temp.c_str(), nullptr);
  CreateDirectoryA((temp + "Empty\\").c_str(), nullptr);
  PutFile(temp + "zero.bin", "");
  Installation install;
  install.AddFile("a.txt");
  install.Data().InstallPath = sentinel + "\\";
  install.Write();
  install.StartAndConfirm("Yes");
  install.Answer(kDoneTitle, "OK");
  install.ExpectTempCopiesGone();
  EXPECT_TRUE(Exists(temp + "Empty\\"));
  EXPECT_TRUE(Exists(temp + "zero.bin"));
  EXPECT_FALSE(Exists(install.Dir() + "a.txt")) << "listed files still go";
  DeleteFolderTree(temp);
}

TEST(UninstallerRun, MissingDataFileIsReported) {
  Installation install;
  install.Write(false);
  const std::set<std::string> before = TempCopies();
  {
    winrobot::ProcessGuard stage1;
    ASSERT_TRUE(winrobot::StartProcess("\"" + install.Program() + "\"", &stage1.process));
    HWND box = winrobot::WaitForMessageBox(stage1.process.pid, "Error", kBoxMs);
    ASSERT_NE(box, nullptr) << winrobot::LastError();
    EXPECT_EQ(winrobot::MessageBoxText(box), kCopyFailedText);
    EXPECT_EQ(TempCopies(), before) << "no partial copies";
    winrobot::AnswerMessageBox(box, "OK");
    EXPECT_TRUE(winrobot::WaitProcess(stage1.process, kBoxMs, nullptr));
  }

  // A copy started by hand without its data file.
  const std::string copy = TemporaryFolder() + UniqueName("9") + ".exe";
  ASSERT_TRUE(CopyFileA(install.Program().c_str(), copy.c_str(), FALSE));
  winrobot::ProcessGuard stage2;
  ASSERT_TRUE(winrobot::StartProcess("\"" + copy + "\" \"" + install.Dir() + "Uninst0.dat\" \"" +
                                         install.Program() + "\"",
                                     &stage2.process));
  HWND box = winrobot::WaitForMessageBox(stage2.process.pid, "Error", kBoxMs);
  ASSERT_NE(box, nullptr) << winrobot::LastError();
  EXPECT_EQ(winrobot::MessageBoxText(box), std::string(kScriptMissingText) + "\r\n\r\n(" +
                                               copy.substr(0, copy.size() - 3) + "dat)");
  winrobot::AnswerMessageBox(box, "OK");
  EXPECT_TRUE(winrobot::WaitProcess(stage2.process, kBoxMs, nullptr));
  EXPECT_TRUE(Exists(install.Program())) << "nothing removed";
  DeleteFileA(copy.c_str());
}

// What a branch of the registry or a folder tree holds, one line per key, value, folder
// and file, for comparing before and after. Wine mirrors every shortcut as a menu file on
// the Linux side and notes it under its own key: that is Wine's, not the system's, and
// left out.
using Snapshot = std::set<std::string>;

constexpr char kWineKey[] = "Software\\Wine";
bool IsWineMirrorFile(const std::string& name) {
  return name.rfind(".", 0) == 0 || (name.size() > 8 && name.compare(name.size() - 8, 8, ".desktop") == 0);
}

void AddRegistry(Snapshot* snapshot, HKEY root, const std::string& label, const std::string& path, bool deep) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  snapshot->insert("key " + label + "\\" + path);
  std::vector<std::string> subkeys;
  char name[1024];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    subkeys.push_back(path.empty() ? name : path + "\\" + name);
  }
  BYTE data[4096];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    DWORD bytes = sizeof data;
    DWORD type = 0;
    if (RegEnumValueA(key, i, name, &size, nullptr, &type, data, &bytes) != ERROR_SUCCESS) break;
    snapshot->insert("value " + label + "\\" + path + "|" + name + "|" + std::to_string(type) + "|" +
                     std::string(reinterpret_cast<char*>(data), bytes));
  }
  RegCloseKey(key);
  for (const std::string& subkey : subkeys) {
    if (subkey == kWineKey) continue;
    if (deep) {
      AddRegistry(snapshot, root, label, subkey, true);
    } else {
      snapshot->insert("key " + label + "\\" + subkey);
    }
  }
}

void AddFolder(Snapshot* snapshot, const std::string& folder, bool deep) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  std::vector<std::string> subfolders;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == ".." || IsWineMirrorFile(name)) continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      snapshot->insert("folder " + folder + name + "\\");
      if (deep) subfolders.push_back(folder + name + "\\");
    } else {
      snapshot->insert("file " + folder + name + " " + std::to_string(found.nFileSizeLow));
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  for (const std::string& subfolder : subfolders) AddFolder(snapshot, subfolder, true);
}

std::string SpecialFolderPath(int csidl) {
  char path[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
  return std::string(path) + "\\";
}

Snapshot TakeSnapshot() {
  Snapshot snapshot;
  AddRegistry(&snapshot, HKEY_CURRENT_USER, "HKCU", "Software", true);
  AddRegistry(&snapshot, HKEY_CLASSES_ROOT, "HKCR", "", false);
  AddRegistry(&snapshot, HKEY_CLASSES_ROOT, "HKCR", "Applications", true);
  AddRegistry(&snapshot, HKEY_LOCAL_MACHINE, "HKLM", "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", true);
  AddRegistry(&snapshot, HKEY_LOCAL_MACHINE, "HKLM", "SYSTEM\\CurrentControlSet\\Services", false);
  for (int csidl : {CSIDL_PROGRAM_FILES, CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS, CSIDL_DESKTOPDIRECTORY,
                    CSIDL_COMMON_DESKTOPDIRECTORY}) {
    AddFolder(&snapshot, SpecialFolderPath(csidl), true);
  }
  AddFolder(&snapshot, TemporaryFolder(), false);
  return snapshot;
}

std::string Difference(const Snapshot& a, const Snapshot& b, const Snapshot& expected) {
  std::string text;
  for (const std::string& line : a) {
    if (!b.count(line) && !expected.count(line)) text += "  " + line + "\n";
  }
  return text;
}

TEST(RoundTrip, EveryTaskPackageLeavesTheSystemAsItWas) {
  const char* httpRoot = std::getenv("CORVALIS_HTTP_ROOT");
  if (!httpRoot) GTEST_SKIP() << "runs under http_test_server.py (uninstaller_round_trip)";
  const std::string app = SpecialFolderPath(CSIDL_PROGRAM_FILES) + "Corvalis Every Task\\";
  ASSERT_FALSE(Exists(app)) << "an earlier run left the package installed";
  const std::string temp = TemporaryFolder();
  const std::string payload(4000, 'p');
  PutFile(winrobot::UnixToWindowsPath(httpRoot) + "\\every_task.bin", payload);
  // The test server makes its key when it first registers; only its value belongs to the package.
  ASSERT_EQ(CreateRegistryKey(HKEY_CURRENT_USER, "Software\\CorvalisEngineTests\\Servers", ""), 1);
  for (const char* output : {"run", "finish", "uninstalled"}) {
    DeleteFileA((temp + "corvalis_every_task_" + output + ".txt").c_str());
  }
  const Snapshot before = TakeSnapshot();

  {
    installer_e2e::InstallerRun run;
    HWND wizard = installer_e2e::InstallToFinishPage(run, "every_task", true, {app + "every_task.bin"});
    ASSERT_NE(wizard, nullptr);
    installer_e2e::Click(wizard, kIdWizardFinish);
    ASSERT_TRUE(run.WaitEnd(installer_e2e::kStartMs));
  }
  ASSERT_TRUE(Exists(app + "Uninst0.exe"));
  // The snapshots see what the installation did.
  const std::string installedLines = Difference(TakeSnapshot(), before, Snapshot());
  for (const std::string& trace : std::vector<std::string>{"key HKCU\\Software\\Corvalis Every Task", "value HKCU\\Software\\CorvalisEngineTests\\Servers|",
        "key HKCR\\.cevt", "key HKLM\\SYSTEM\\CurrentControlSet\\Services\\CorvalisEveryTask",
        "Uninstall\\Corvalis Every Task", "Corvalis Every Task\\Guide.lnk", "Corvalis Every Task web.url",
        "file " + app + "Data\\settings.ini"}) {
    EXPECT_NE(installedLines.find(trace), std::string::npos) << trace << " not installed:\n" << installedLines;
  }

  const std::set<std::string> copiesBefore = TempCopies();
  {
    winrobot::ProcessGuard stage1;
    ASSERT_TRUE(winrobot::StartProcess("\"" + app + "Uninst0.exe\"", &stage1.process)) << winrobot::LastError();
    HWND box = winrobot::WaitForMessageBox(0, "Please confirm", kBoxMs);
    ASSERT_NE(box, nullptr) << winrobot::LastError();
    EXPECT_EQ(winrobot::MessageBoxText(box), "Are you sure you want to uninstall Corvalis Every Task?");
    ASSERT_TRUE(winrobot::AnswerMessageBox(box, "Yes"));
    box = winrobot::WaitForMessageBox(0, "Success", kBoxMs);
    ASSERT_NE(box, nullptr) << winrobot::LastError();
    ASSERT_TRUE(winrobot::AnswerMessageBox(box, "OK"));
  }
  EXPECT_TRUE(WaitFor([&] { return TempCopies() == copiesBefore; }, 60000)) << "the temporary copy stays";
  EXPECT_TRUE(WaitFor([&] { return Exists(temp + "corvalis_every_task_uninstalled.txt"); }, 10000));

  // What stays on purpose: the output files of the programs that the tasks ran, and what
  // the uninstall data doesn't list: the file moved by MOVEFILE and the downloaded file,
  // which keep the install folder and its "Made" folder.
  Snapshot expected;
  for (const char* output : {"run", "finish", "uninstalled"}) {
    const std::string path = temp + "corvalis_every_task_" + output + ".txt";
    WIN32_FILE_ATTRIBUTE_DATA info = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info);
    expected.insert("file " + path + " " + std::to_string(info.nFileSizeLow));
  }
  expected.insert("folder " + app);
  expected.insert("folder " + app + "Made\\");
  expected.insert("file " + app + "Made\\Notes.txt " + std::to_string(ReadWholeFile(app + "Made\\Notes.txt").size()));
  expected.insert("file " + app + "every_task.bin " + std::to_string(payload.size()));

  const Snapshot after = TakeSnapshot();
  EXPECT_EQ(Difference(after, before, expected), "") << "left behind";
  EXPECT_EQ(Difference(before, after, Snapshot()), "") << "removed although there before";

  DeleteFolderTree(app);
  for (const char* output : {"run", "finish", "uninstalled"}) {
    DeleteFileA((temp + "corvalis_every_task_" + output + ".txt").c_str());
  }
}

}  // namespace
}  // namespace corvalis
