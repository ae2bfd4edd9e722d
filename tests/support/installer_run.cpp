#include "tests/support/installer_run.h"

#include <cstdlib>
#include <map>

#include <tlhelp32.h>

#include "common/control_ids.h"
#include "common/ansi_text.h"
#include "common/folder_tree.h"
#include "common/private_folder.h"
#include "common/special_folders.h"
#include "installer/wizard/wizard_rules.h"

namespace installer_e2e {

namespace {

bool IsNumber(const std::string& name) {
  return !name.empty() && name.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

std::set<std::string> WorkFolders() {
  const std::string temp = corvalis::TemporaryFolder();
  std::set<std::string> folders;
  for (const std::string& name : ListFolder(temp + "*", true)) {
    if (IsNumber(name)) folders.insert(temp + name + "\\");
    if (name.rfind(corvalis::kInstallerPrivatePrefix, 0) != 0) continue;
    for (const std::string& inner : ListFolder(temp + name + "\\*", true)) {
      if (IsNumber(inner)) folders.insert(temp + name + "\\" + inner + "\\");
    }
  }
  return folders;
}

std::string OutermostFolder(const std::string& workFolder) {
  const std::string parent = corvalis::FolderPart(workFolder.substr(0, workFolder.size() - 1));
  const std::string parentName = corvalis::FileNamePart(parent.substr(0, parent.size() - 1));
  return parentName.rfind(corvalis::kInstallerPrivatePrefix, 0) == 0 ? parent : workFolder;
}

InstallerRun::~InstallerRun() {
  winrobot::KillProcess(guard_.process);
  guard_.process = winrobot::Process();
  if (!wineVersion_.empty()) winrobot::SetWineVersion(exeName_, "");
  // A failed or ended test may leave the installer's work folder behind; never leave it.
  std::set<std::string> left = WorkFolders();
  if (!workFolder_.empty()) left.insert(workFolder_);
  for (const std::string& folder : left) {
    if (!before_.count(folder) && Exists(OutermostFolder(folder))) corvalis::DeleteFolderTree(OutermostFolder(folder));
  }
}

::testing::AssertionResult InstallerRun::Start(const std::string& name, const std::string& wineVersion,
                                               const std::string& parameters) {
  const char* data = std::getenv("CORVALIS_TEST_DATA");
  if (!data) return ::testing::AssertionFailure() << "CORVALIS_TEST_DATA is not set";
  exeName_ = name + ".exe";
  const std::string path = winrobot::UnixToWindowsPath(std::string(data) + "/config/" + exeName_);
  if (!Exists(path)) return ::testing::AssertionFailure() << "no test package " << path;
  if (!wineVersion.empty()) {
    wineVersion_ = wineVersion;
    if (!winrobot::SetWineVersion(exeName_, wineVersion)) {
      return ::testing::AssertionFailure() << winrobot::LastError();
    }
  }
  before_ = WorkFolders();
  if (!winrobot::StartProcess("\"" + path + "\"" + (parameters.empty() ? "" : " " + parameters), &guard_.process)) {
    return ::testing::AssertionFailure() << winrobot::LastError();
  }
  return ::testing::AssertionSuccess();
}

std::string InstallerRun::WorkFolder() {
  // Polled often: a run that fails early may remove the folder again quickly.
  for (int waited = 0; workFolder_.empty() && waited < kStepMs; waited += 20) {
    for (const std::string& folder : WorkFolders()) {
      if (!before_.count(folder)) workFolder_ = folder;
    }
    if (workFolder_.empty()) Sleep(20);
  }
  return workFolder_;
}

::testing::AssertionResult InstallerRun::WaitEnd(int timeoutMs, DWORD exitCode) {
  DWORD code = 0;
  if (!winrobot::WaitProcess(guard_.process, timeoutMs, &code)) {
    return ::testing::AssertionFailure() << "the installer did not end";
  }
  if (code != exitCode) return ::testing::AssertionFailure() << "exit code " << code << " instead of " << exitCode;
  return ::testing::AssertionSuccess();
}

bool InstallerRun::Running() {
  DWORD exitCode = 0;
  return !winrobot::WaitProcess(guard_.process, 0, &exitCode);
}

void InstallerRun::ExpectEndsWithMessage(const std::string& title, const std::string& text, DWORD exitCode) {
  HWND box = winrobot::WaitForMessageBox(Pid(), title, kStartMs);
  ASSERT_NE(box, nullptr) << "no \"" << title << "\" box: " << winrobot::LastError();
  EXPECT_EQ(winrobot::MessageBoxText(box), text);
  const std::string folder = WorkFolder();
  ASSERT_TRUE(winrobot::AnswerMessageBox(box, "OK")) << winrobot::LastError();
  ASSERT_TRUE(WaitEnd(kStepMs, exitCode));
  EXPECT_FALSE(folder.empty());
  EXPECT_FALSE(Exists(folder)) << "work folder left behind: " << folder;
}

namespace {

bool IsWizardTitle(const std::string& title) {
  const std::string suffix = " :: Setup";
  return title.size() >= suffix.size() && title.compare(title.size() - suffix.size(), suffix.size(), suffix) == 0;
}

BOOL CALLBACK AddVisible(HWND window, LPARAM found) {
  if (IsWindowVisible(window)) reinterpret_cast<std::set<HWND>*>(found)->insert(window);
  return TRUE;
}

std::set<HWND> VisibleWindows() {
  std::set<HWND> windows;
  EnumWindows(AddVisible, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// Whether process was started by this test program, directly or through others (a
// command processor, the uninstaller's first stage); tests running beside it show
// windows too. A process the snapshot doesn't hold any more counts as ours: a window
// too many fails a test, one too few would hide what it looks for.
bool StartedByUs(DWORD process) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return true;
  std::map<DWORD, DWORD> parents;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    parents[entry.th32ProcessID] = entry.th32ParentProcessID;
  }
  CloseHandle(snapshot);
  if (!parents.count(process)) return true;
  for (int depth = 0; depth < 8 && parents.count(process); ++depth) {
    process = parents[process];
    if (process == GetCurrentProcessId()) return true;
  }
  return false;
}

}  // namespace

WindowWatch::WindowWatch() : before_(VisibleWindows()) {
  thread_ = std::thread([this] {
    while (!stop_) {
      Look();
      Sleep(1);  // the installer needs the processor more than the watch
    }
  });
}

WindowWatch::~WindowWatch() { Stop(); }

void WindowWatch::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

// What a window shows is taken at once (it may be gone soon); whose it is afterwards, as
// a snapshot of the processes can take longer than a short run.
void WindowWatch::Look() {
  for (HWND window : VisibleWindows()) {
    if (before_.count(window)) continue;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    // The system's copy of the caption: asking the window would wait while its thread works.
    char caption[256] = "";
    GetWindowTextA(window, caption, sizeof caption);
    const std::string title = caption;
    char className[64] = "";
    // A window that went while it was looked at leaves no class name: it's not counted.
    if (!GetClassNameA(window, className, sizeof className)) continue;
    Seen& seen = seen_[process];
    seen.titles.insert(title.empty() ? std::string("class ") + className : title);
    if (IsWizardTitle(title)) {
      for (int page = 0; page < corvalis::kWizardPageCount; ++page) {
        HWND panel = GetDlgItem(window, corvalis::kIdWizardFirstPage + page);
        if (panel && IsWindowVisible(panel)) seen.pages.insert(page);
      }
    }
    if (!seen.classified) {
      seen.ours = StartedByUs(process);
      seen.classified = true;
    }
  }
}

std::set<std::string> WindowWatch::Titles() {
  Stop();
  std::set<std::string> titles;
  for (const auto& process : seen_) {
    if (process.second.ours) titles.insert(process.second.titles.begin(), process.second.titles.end());
  }
  return titles;
}

std::set<int> WindowWatch::WizardPages() {
  Stop();
  std::set<int> pages;
  for (const auto& process : seen_) {
    if (process.second.ours) pages.insert(process.second.pages.begin(), process.second.pages.end());
  }
  return pages;
}

HWND InstallerRun::FindWizard() {
  HWND window = winrobot::WaitForWindowOfProcess(Pid(), "", 0);
  return window && IsWizardTitle(winrobot::WindowText(window)) ? window : nullptr;
}

HWND InstallerRun::WaitForWizard() {
  for (int waited = 0; waited < kStartMs; waited += 100) {
    if (HWND wizard = FindWizard()) return wizard;
    if (!Running()) return nullptr;
    Sleep(100);
  }
  return nullptr;
}

void InstallerRun::ExpectChecksPassed(bool languageChosen) {
  ASSERT_FALSE(WorkFolder().empty()) << "no work folder seen: the package was never prepared";
  for (int waited = 0; waited < kStartMs; waited += 250) {
    HWND box = winrobot::WaitForMessageBox(Pid(), "", 0);
    ASSERT_EQ(box, nullptr) << "message: " << winrobot::MessageBoxText(box);
    if (!languageChosen) {
      ASSERT_EQ(winrobot::WaitForWindowOfProcess(Pid(), kLanguageDialogTitle, 0), nullptr);
    }
    ASSERT_TRUE(Running()) << "the installer ended instead of showing its wizard";
    if (FindWizard()) return;
    Sleep(250);
  }
  FAIL() << "the installer did not show its wizard";
}

}  // namespace installer_e2e
