// Files that can't be written or deleted the plain way: deeper than the ANSI calls reach,
// or held open by another program, while installing and while uninstalling.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/folder_tree.h"
#include "common/long_paths.h"
#include "common/uninstall_data.h"
#include "installer/wizard/wizard_rules.h"
#include "common/control_ids.h"
#include "tests/support/installer_run.h"
#include "tests/support/test_support.h"
#include "tests/support/wizard_steps.h"
#include "tools/winrobot/winrobot.h"

namespace {

using namespace corvalis;
using namespace corvalis::testing;
using namespace installer_e2e;

const char kSessionManager[] = "SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const char kPendingRenames[] = "PendingFileRenameOperations";

std::string App() { return ShellFolder(CSIDL_PROGRAM_FILES) + "Corvalis Deep\\"; }
std::string Entry() { return kUninstallEntryKey + std::string("Corvalis Deep"); }
std::string DeepFile() {
  std::string path = App();
  for (char level = '1'; level <= '6'; ++level) path += std::string(55, level) + "\\";
  return path + "deep.txt";
}

// What the system is to do at the next restart, as one text.
std::string PendingRenames() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::string();
  std::string bytes(65536, '\0');
  DWORD size = static_cast<DWORD>(bytes.size());
  const LONG read = RegQueryValueExA(key, kPendingRenames, nullptr, nullptr, reinterpret_cast<BYTE*>(&bytes[0]), &size);
  RegCloseKey(key);
  bytes.resize(read == ERROR_SUCCESS ? size : 0);
  return bytes;
}

void ForgetPendingRenames() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, kPendingRenames);
  RegCloseKey(key);
}

void RemoveInstallation() {
  DeleteFolderTree(App());
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, Entry().c_str());
  ForgetPendingRenames();
  RemoveTempFiles("Corvalis Deep-*.log");
}

// A file a program holds open without sharing it.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~HeldFile() { Release(); }
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (Held()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

void InstallSilently(DWORD exitCode) {
  InstallerRun run;
  ASSERT_TRUE(run.Start("inst_deep", "", "/VERYSILENT"));
  ASSERT_TRUE(run.WaitEnd(kStartMs, exitCode));
}

// The wizard from its welcome page to the progress page, where the unpacking runs.
HWND StartWizardInstallation(InstallerRun& run) {
  EXPECT_TRUE(run.Start("inst_deep"));
  HWND wizard = run.WaitForWizard();
  if (!wizard || !WaitForPage(wizard, kPageWelcome)) return nullptr;
  Click(wizard, kIdWizardNext);
  if (!WaitForPage(wizard, kPageDestination)) return nullptr;
  Click(wizard, kIdWizardNext);
  return wizard;
}

TEST(FileFailures, DeepPathsAreInstalledAndUninstalled) {
  RemoveInstallation();
  InstallSilently(0);
  EXPECT_NE(PathAttributes(DeepFile()), INVALID_FILE_ATTRIBUTES) << DeepFile().size() << " characters";
  EXPECT_NE(ReadWholeFile(App() + "Uninst0.dat").find(DeepFile()), std::string::npos);

  EXPECT_EQ(RunProgram("cmd /c " + ReadText(HKEY_LOCAL_MACHINE, Entry(), "QuietUninstallString"), kStartMs), 0);
  EXPECT_EQ(PathAttributes(DeepFile()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(Exists(App() + std::string(55, '1'))) << "the deep folders went, deepest first";
  EXPECT_TRUE(Exists(App() + "Data\\settings.ini")) << "the package keeps its .ini files";
  RemoveInstallation();
}

// A second installation over a file another program holds: the user closes the program
// and retries, or cancels and the unpacking is undone; a silent run has the file replaced
// at the next restart.
TEST(FileFailures, HeldFileDuringTheInstallation) {
  RemoveInstallation();
  InstallSilently(0);
  const std::string readme = App() + "ReadMe.txt";
  const std::string fresh = ReadWholeFile(readme);
  ASSERT_FALSE(fresh.empty());

  {
    ASSERT_TRUE(WriteFileText(readme, "old content"));
    HeldFile held(readme);
    ASSERT_TRUE(held.Held());
    InstallerRun run;
    HWND wizard = StartWizardInstallation(run);
    ASSERT_NE(wizard, nullptr);
    const std::string text = AnswerBox(run, "Error", "Retry");
    EXPECT_EQ(text.rfind("This file could not be written:\r\n" + readme + "\r\n", 0), 0u) << text;
    AnswerBox(run, "Error", "Retry");  // still held: asked again
    held.Release();
    AnswerBox(run, "Error", "Retry");
    ASSERT_TRUE(WaitForPage(wizard, kPageFinish, kStartMs));
    EXPECT_EQ(ReadWholeFile(readme), fresh);
    Click(wizard, kIdWizardFinish);
    EXPECT_TRUE(run.WaitEnd(kStartMs, 0));
  }
  {
    HeldFile held(readme);
    InstallerRun run;
    ASSERT_NE(StartWizardInstallation(run), nullptr);
    AnswerBox(run, "Error", "Cancel");
    EXPECT_TRUE(run.WaitEnd(kStartMs, 1602));
    EXPECT_FALSE(Exists(App() + "Docs\\Guide.txt")) << "unpacked before the held file: rolled back";
    EXPECT_TRUE(Exists(readme)) << "the held file is not the installation's to delete";
  }
  {
    ASSERT_TRUE(WriteFileText(readme, "old content"));
    HeldFile held(readme);
    InstallSilently(3010);
    held.Release();
    EXPECT_EQ(ReadWholeFile(readme), "old content");
    EXPECT_EQ(ReadWholeFile(readme + ".0.new"), fresh);
    EXPECT_NE(PendingRenames().find(readme + ".0.new"), std::string::npos);
    EXPECT_NE(ReadWholeFile(App() + "Uninst2.dat").find(readme), std::string::npos) << "listed: it will be there";
  }
  RemoveInstallation();
}

// The uninstallation over a file another program holds: the file goes at the next restart
// and the restart question takes the success message's place.
TEST(FileFailures, HeldFileDuringTheUninstallation) {
  RemoveInstallation();
  InstallSilently(0);
  const std::string guide = App() + "Docs\\Guide.txt";
  HeldFile held(guide);
  ASSERT_TRUE(held.Held());
  winrobot::ProcessGuard stage1;
  ASSERT_TRUE(winrobot::StartProcess("\"" + App() + "Uninst0.exe\"", &stage1.process));
  HWND confirm = winrobot::WaitForMessageBox(0, "Please confirm", kStartMs);
  ASSERT_NE(confirm, nullptr) << winrobot::LastError();
  ASSERT_TRUE(winrobot::AnswerMessageBox(confirm, "Yes"));
  HWND restart = winrobot::WaitForMessageBox(0, "Restart needed", kStartMs);
  ASSERT_NE(restart, nullptr) << "the restart question, not the success message";
  ASSERT_TRUE(winrobot::AnswerMessageBox(restart, "No"));
  ASSERT_TRUE(winrobot::WaitForWindowGone(restart, kStepMs));
  EXPECT_TRUE(Exists(guide));
  EXPECT_FALSE(Exists(App() + "Sample.txt"));
  const std::string pending = PendingRenames();
  EXPECT_NE(pending.find(guide), std::string::npos);
  EXPECT_NE(pending.find(App() + "Docs"), std::string::npos) << "its folder follows it";
  held.Release();
  RemoveInstallation();
}

// A user whose folders have names outside the ANSI code page ("Łukasz" on a Western
// European system): the temporary folder and the destination's parent are used by their
// short names, and the package installs and uninstalls.
class ForeignTemp {
 public:
  ForeignTemp() {
    CreateDirectoryW(kUser, nullptr);
    CreateDirectoryW(kTemp, nullptr);
    CreateDirectoryW(kApps, nullptr);
    Empty();
    for (const wchar_t* name : {L"TEMP", L"TMP"}) {
      wchar_t old[MAX_PATH] = {};
      saved_.push_back(GetEnvironmentVariableW(name, old, MAX_PATH) ? old : L"");
      SetEnvironmentVariableW(name, kTemp);
    }
  }
  ~ForeignTemp() {
    SetEnvironmentVariableW(L"TEMP", saved_[0].c_str());
    SetEnvironmentVariableW(L"TMP", saved_[1].c_str());
    Empty();
    // Only what is empty by now goes.
    for (const wchar_t* folder : {kApps, kTemp, kUser}) RemoveDirectoryW(folder);
  }
  // The logs of earlier runs go.
  static void Empty() {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((std::wstring(kTemp) + L"\\*.log").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
      DeleteFileW((std::wstring(kTemp) + L"\\" + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  // The destination's parent as the ANSI calls can name it.
  static std::string AppsShortName() {
    wchar_t path[MAX_PATH] = {};
    GetShortPathNameW(kApps, path, MAX_PATH);
    char ansi[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, path, -1, ansi, MAX_PATH, nullptr, nullptr);
    return ansi;
  }
  // What the temporary folder holds now, by kind: logs, and anything else.
  static std::pair<int, int> TempContent() {
    std::pair<int, int> counts;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((std::wstring(kTemp) + L"\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return counts;
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const bool log = name.size() > 4 && name.compare(name.size() - 4, 4, L".log") == 0;
      ++(log ? counts.first : counts.second);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return counts;
  }

  static constexpr const wchar_t* kUser = L"C:\\users\\\u0141ukasz";
  static constexpr const wchar_t* kTemp = L"C:\\users\\\u0141ukasz\\Temp";
  static constexpr const wchar_t* kApps = L"C:\\\u0141ukasz Apps";

 private:
  std::vector<std::wstring> saved_;
};

TEST(ForeignNames, TemporaryFolderAndDestinationOutsideTheCodePage) {
  RemoveInstallation();
  ForeignTemp foreign;
  const std::string apps = ForeignTemp::AppsShortName();
  ASSERT_EQ(apps.find('?'), std::string::npos) << apps;
  const std::string app = apps + "\\Corvalis Deep\\";
  {
    InstallerRun run;
    ASSERT_TRUE(run.Start("inst_deep", "", "/VERYSILENT /DIR=\"" + app + "\""));
    EXPECT_TRUE(run.WaitEnd(kStartMs, 0));
  }
  EXPECT_TRUE(Exists(app + "Sample.txt"));
  // The run worked and logged in that folder, and its work folder went again.
  EXPECT_EQ(ForeignTemp::TempContent(), std::make_pair(1, 0));
  EXPECT_EQ(RunProgram("cmd /c " + ReadText(HKEY_LOCAL_MACHINE, Entry(), "QuietUninstallString"), kStartMs), 0);
  EXPECT_FALSE(Exists(app + "Sample.txt"));
  EXPECT_EQ(ForeignTemp::TempContent().first, 2) << "the uninstaller's log beside the installer's";
  // The temporary copy's folder, named there by its short name, goes after it.
  for (int waited = 0; waited < kStartMs && ForeignTemp::TempContent().second; waited += 100) Sleep(100);
  EXPECT_EQ(ForeignTemp::TempContent().second, 0);
  DeleteFolderTree(app);
  RemoveInstallation();
}

}  // namespace
