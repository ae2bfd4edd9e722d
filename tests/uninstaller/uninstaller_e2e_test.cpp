// The shipped Uninstaller.exe under Wine on installations laid out by hand: files,
// registry, a running program, a service, a registered server, an association and an
// uninstall entry, with the robot answering its boxes.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "common/ansi_text.h"
#include "common/folder_tree.h"
#include "common/operations_settings.h"
#include "common/registry_roots.h"
#include "common/special_folders.h"
#include "common/system_operations.h"
#include "common/uninstall_data.h"
#include "tests/engine/engine_test_support.h"
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

std::string HelperPath(const std::string& name) { return winrobot::UnixToWindowsPath(ENGINE_HELPERS "/" + name); }

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool ValueExists(HKEY root, const std::string& path, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  const bool found = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return found;
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

// The uninstaller's copies in the temporary folder: numbered .exe and .dat files.
std::set<std::string> TempCopies() {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((TemporaryFolder() + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    const std::size_t dot = name.find('.');
    if (dot > 0 && dot != std::string::npos && name.find_first_not_of("0123456789") == dot &&
        (name.substr(dot) == ".exe" || name.substr(dot) == ".dat")) {
      names.insert(name);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
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
  ~Installation() { DeleteFolderTree(base_); }

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
  const std::string runs = install.Base() + "runs.txt";

  install.AddFile("Docs\\readme.txt");
  install.AddFile("zero.bin", "");
  ASSERT_TRUE(CopyFileA(HelperPath("engine_sleeper.exe").c_str(), (dir + "CvSleep.exe").c_str(), FALSE));
  install.Data().Files.push_back(dir + "CvSleep.exe");
  ASSERT_TRUE(CopyFileA(HelperPath("engine_test_service.exe").c_str(), (dir + "svc.exe").c_str(), FALSE));
  install.Data().Files.push_back(dir + "svc.exe");
  ASSERT_TRUE(CopyFileA(HelperPath("engine_test_server.dll").c_str(), (dir + "server.dll").c_str(), FALSE));
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
  install.Data().UninstTasks.push_back(
      {"Both", std::string("RUN") + kSep + "1" + kSep + "1" + kSep + "cmd.exe" + kSep + "/c echo run>>\"" + runs + "\""});
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
  EXPECT_FALSE(FileExists(dir)) << "install folder";
  EXPECT_FALSE(FileExists(group)) << "emptied program group";
  EXPECT_TRUE(FileExists(keptGroup + "mine.txt"));
  EXPECT_FALSE(FileExists(keptGroup + "Run.lnk"));
  EXPECT_FALSE(FileExists(install.Base() + "Copied\\copy.txt"));
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, regKey, "Name"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, regKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, entryKey));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "." + ext));
  EXPECT_FALSE(ServiceExists(service)) << "found by its display name, stopped and deleted";
  EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, serverKey, dir + "server.dll")) << "server unregistered";
  auto runCount = [&] {
    const std::string text = ReadWholeFile(runs);
    int count = 0;
    for (std::size_t at = text.find("run"); at != std::string::npos; at = text.find("run", at + 1)) ++count;
    return count;
  };
  EXPECT_TRUE(WaitFor([&] { return runCount() == 2; }, 10000))
      << "RUN with both flags starts twice: " << ReadWholeFile(runs);
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
  for (const char* kept : {"a.INI", "Logs\\Deep\\b.Log"}) EXPECT_TRUE(FileExists(install.Dir() + kept)) << kept;
  for (const char* gone : {"Logs\\c.txt", "d.txt", "Empty\\", "Uninst0.exe", "Uninst0.dat"}) {
    EXPECT_FALSE(FileExists(install.Dir() + gone)) << gone;
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
    EXPECT_TRUE(FileExists(install.Dir() + kept)) << kept;
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
  EXPECT_TRUE(FileExists(temp + "Empty\\"));
  EXPECT_TRUE(FileExists(temp + "zero.bin"));
  EXPECT_FALSE(FileExists(install.Dir() + "a.txt")) << "listed files still go";
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
  EXPECT_TRUE(FileExists(install.Program())) << "nothing removed";
  DeleteFileA(copy.c_str());
}

}  // namespace
}  // namespace corvalis
