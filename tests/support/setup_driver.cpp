// setup_driver.exe: runs an installation, an uninstallation or another vendor's setup
// program as a user would, for the main job (scripts/run-sample) and the installation
// benchmark (tests/bench/install_bench.sh). It prints "name = value" lines; its times
// leave out what the robot itself spends between the pages.
//
//   setup_driver install <package.exe> [<screenshot folder, a Linux path>]
//   setup_driver uninstall <Uninst<k>.exe>
//   setup_driver run <program> [<arguments>...]    waits for every program it starts too
//   setup_driver report <install folder>             what the installation left, read back
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/control_ids.h"
#include "common/ini_file.h"
#include "common/registry_roots.h"
#include "common/system_operations.h"
#include "common/task_line.h"
#include "common/uninstall_data.h"
#include "common/whole_file.h"
#include "installer/wizard/wizard_rules.h"
#include "tests/support/test_support.h"
#include "tests/support/wizard_steps.h"
#include "tools/winrobot/winrobot.h"

namespace {

using namespace corvalis;
using namespace installer_e2e;
using namespace corvalis::testing;

constexpr int kInstallMs = 30 * 60 * 1000;  // 200 MB under emulation, on a busy machine
constexpr DWORD kWatchIntervalMs = 20;

// Milliseconds are fine enough for runs of seconds; Wine counts them exactly.
double Now() { return GetTickCount() / 1000.0; }

int Failed(const std::string& what) {
  std::fprintf(stderr, "setup_driver: %s\n", what.c_str());
  return 1;
}

// A process and every process it starts, watched from a thread of its own: the peak
// memory of the largest and the moment the last one ends. Wine reports a process's
// peak working set from the kernel's high-water mark of its resident memory; its
// private bytes only as they are now, so their peak is the largest value seen.
class ProcessTree {
 public:
  ProcessTree() { InitializeCriticalSection(&lock_); }
  ProcessTree(const ProcessTree&) = delete;
  ProcessTree& operator=(const ProcessTree&) = delete;
  // A driver that gives up leaves nothing running behind it.
  ~ProcessTree() {
    if (thread_) {
      stop_ = true;
      WaitForSingleObject(thread_, INFINITE);
      CloseHandle(thread_);
    }
    for (std::size_t i = 0; i < handles_.size(); ++i) {
      if (!helpers_[i] && WaitForSingleObject(handles_[i], 0) == WAIT_TIMEOUT) TerminateProcess(handles_[i], 1);
      CloseHandle(handles_[i]);
    }
    DeleteCriticalSection(&lock_);
  }

  bool Start(const std::string& commandLine) {
    winrobot::Process process;
    if (!winrobot::StartProcess(commandLine, &process)) return false;
    started_ = Now();
    pid_ = process.pid;
    first_ = process.handle;
    handles_.push_back(process.handle);
    pids_.push_back(process.pid);
    helpers_.push_back(false);
    thread_ = CreateThread(nullptr, 0, &ProcessTree::Watch, this, 0, nullptr);
    return thread_ != nullptr;
  }

  DWORD Pid() const { return pid_; }
  double Started() const { return started_; }

  // The whole tree; the time of its end once true.
  bool WaitEnd(int timeoutMs) { return WaitForSingleObject(thread_, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0; }
  double Ended() const { return ended_; }
  // Only the first process: what it starts at its end (a document opened in an editor)
  // may run on.
  bool WaitFirst(int timeoutMs, double* ended) {
    if (WaitForSingleObject(first_, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return false;
    *ended = Now();
    return true;
  }
  DWORD FirstExitCode() {
    DWORD code = 0;
    GetExitCodeProcess(first_, &code);
    return code;
  }
  int Processes() const { return static_cast<int>(pids_.size()); }  // once WaitEnd is true

  SIZE_T PeakWorkingSet() {
    EnterCriticalSection(&lock_);
    SIZE_T peak = peakWorkingSet_;
    LeaveCriticalSection(&lock_);
    return peak;
  }
  SIZE_T PeakPrivate() {
    EnterCriticalSection(&lock_);
    SIZE_T peak = peakPrivate_;
    LeaveCriticalSection(&lock_);
    return peak;
  }

 private:
  static DWORD WINAPI Watch(void* self) {
    static_cast<ProcessTree*>(self)->Loop();
    return 0;
  }

  void Loop() {
    while (!stop_) {
      // Ended before the look for children: a child started at the very end still counts.
      bool allEnded = true;
      for (std::size_t i = 0; i < handles_.size(); ++i) {
        allEnded = allEnded && (helpers_[i] || WaitForSingleObject(handles_[i], 0) == WAIT_OBJECT_0);
      }
      const double seen = Now();
      const bool grew = AddChildren();
      Sample();
      if (allEnded && !grew) {
        ended_ = seen;
        return;
      }
      Sleep(kWatchIntervalMs);
    }
  }

  bool Known(DWORD pid) const { return Index(pid) < pids_.size(); }
  std::size_t Index(DWORD pid) const {
    std::size_t i = 0;
    while (i < pids_.size() && pids_[i] != pid) ++i;
    return i;
  }

  // Wine starts its desktop process for the first window on a display, and a menu
  // builder for every shortcut saved; neither is the program's work, and the desktop
  // never ends. A process just starting may not have its name yet: every look checks again.
  static bool IsWineHelper(const char* exeName) {
    return lstrcmpiA(exeName, "explorer.exe") == 0 || lstrcmpiA(exeName, "winemenubuilder.exe") == 0;
  }

  bool AddChildren() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    bool grew = false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
      const bool helper = IsWineHelper(entry.szExeFile);
      if (Known(entry.th32ProcessID)) {
        if (helper) helpers_[Index(entry.th32ProcessID)] = true;
        continue;
      }
      if (helper || !Known(entry.th32ParentProcessID)) continue;
      HANDLE child = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID);
      if (!child) continue;
      handles_.push_back(child);
      pids_.push_back(entry.th32ProcessID);
      helpers_.push_back(false);
      grew = true;
    }
    CloseHandle(snapshot);
    return grew;
  }

  void Sample() {
    for (std::size_t i = 0; i < handles_.size(); ++i) {
      PROCESS_MEMORY_COUNTERS_EX counters = {};
      counters.cb = sizeof counters;
      if (helpers_[i] ||
          !GetProcessMemoryInfo(handles_[i], reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
        continue;
      }
      EnterCriticalSection(&lock_);
      if (counters.PeakWorkingSetSize > peakWorkingSet_) peakWorkingSet_ = counters.PeakWorkingSetSize;
      if (counters.PeakPagefileUsage > peakPrivate_) peakPrivate_ = counters.PeakPagefileUsage;
      LeaveCriticalSection(&lock_);
    }
  }

  DWORD pid_ = 0;
  HANDLE first_ = nullptr;  // also the first of handles_
  double started_ = 0;
  volatile double ended_ = 0;
  volatile bool stop_ = false;
  HANDLE thread_ = nullptr;
  std::vector<HANDLE> handles_;  // the watching thread's, once it runs
  std::vector<DWORD> pids_;
  std::vector<bool> helpers_;  // Wine's own, not waited for
  CRITICAL_SECTION lock_;
  SIZE_T peakWorkingSet_ = 0;
  SIZE_T peakPrivate_ = 0;
};

void PrintSeconds(const char* name, double seconds) { std::printf("%s = %.2f\n", name, seconds); }

void PrintMemory(ProcessTree& tree) {
  std::printf("peak_working_set_kib = %lu\n", static_cast<unsigned long>(tree.PeakWorkingSet() / 1024));
  std::printf("peak_private_kib = %lu\n", static_cast<unsigned long>(tree.PeakPrivate() / 1024));
}

// Every thread of the process, suspended while a picture is taken of a page that would
// otherwise be gone before the picture is.
std::vector<HANDLE> SuspendProcess(DWORD pid) {
  std::vector<HANDLE> threads;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return threads;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != pid) continue;
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
    if (thread && SuspendThread(thread) != static_cast<DWORD>(-1)) {
      threads.push_back(thread);
    } else if (thread) {
      CloseHandle(thread);
    }
  }
  CloseHandle(snapshot);
  return threads;
}

void ResumeProcess(const std::vector<HANDLE>& threads) {
  for (HANDLE thread : threads) {
    ResumeThread(thread);
    CloseHandle(thread);
  }
}

const char* const kPageNames[kWizardPageCount] = {"welcome", "license", "readme", "destination",
                                                   "startmenu", "progress", "finish"};

void Screenshot(const std::string& folder, HWND wizard, int page) {
  if (folder.empty()) return;
  const std::string path = folder + "/" + std::to_string(page) + "-" + kPageNames[page] + ".png";
  if (winrobot::SaveScreenshot(path, kStepMs, wizard)) {
    std::printf("screenshot = %s\n", path.c_str());
  } else {
    std::fprintf(stderr, "setup_driver: %s\n", winrobot::LastError().c_str());
  }
}

// The wizard once it shows its first page: a preparation window may come before it,
// and the language question of a package with several languages, answered with its
// preselected language.
HWND WaitForWizard(ProcessTree& tree) {
  for (int waited = 0; waited < kStartMs; waited += 10) {
    HWND window = winrobot::WaitForWindowOfProcess(tree.Pid(), "", 0);
    if (window && VisiblePage(window) == kPageWelcome) return window;
    if (window && winrobot::WindowText(window) == kLanguageDialogTitle) {
      winrobot::ClickButton(window, Id(kIdOk));
      winrobot::WaitForWindowGone(window, kStepMs);
    }
    double ended = 0;
    if (!window && tree.WaitFirst(0, &ended)) return nullptr;
    Sleep(10);
  }
  return nullptr;
}

// Next through pages 0 to 4 with what they offer (the licence accepted), then the
// progress page until the finish page shows. Returns the time of the Next that left
// the last of them; 0 when the wizard didn't get there.
double WalkToFinish(ProcessTree& tree, HWND wizard, const std::string& shots, std::string* destination) {
  double lastNext = 0;
  int page = VisiblePage(wizard);
  while (page >= kPageWelcome && page < kPageProgress) {
    if (page == kPageLicense && !winrobot::SetCheck(wizard, Id(kIdLicenseAgree), true)) {
      Failed(winrobot::LastError());
      return 0;
    }
    if (page == kPageDestination) *destination = winrobot::WindowText(winrobot::FindControl(wizard, Id(kIdDestinationPath)));
    if (!winrobot::WaitForControl(wizard, Id(kIdWizardNext), kStepMs)) {
      Failed(winrobot::LastError());
      return 0;
    }
    if (!shots.empty()) {
      Sleep(400);  // the page's controls paint after the switch
      Screenshot(shots, wizard, page);
    }
    lastNext = Now();
    if (!winrobot::ClickButton(wizard, Id(kIdWizardNext))) {
      Failed(winrobot::LastError());
      return 0;
    }
    // Between two pages a moment may pass with neither shown.
    int next = page;
    for (int waited = 0; (next == page || next < 0) && waited < kStepMs; waited += 10) {
      Sleep(10);
      next = VisiblePage(wizard);
    }
    if (next == page || next < 0) {
      Failed(std::string("Next did not leave the page ") + kPageNames[page]);
      return 0;
    }
    double ended = 0;
    if (tree.WaitFirst(0, &ended)) break;
    page = next;
  }
  if (page == kPageProgress && !shots.empty()) {
    // Once the unpacking has moved the bar, the page has painted.
    HWND bar = GetDlgItem(GetDlgItem(wizard, kIdWizardFirstPage + kPageProgress), kIdInstallProgress);
    Eventually(
        [&] {
          DWORD_PTR position = 0;
          return VisiblePage(wizard) != kPageProgress ||
                 (SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, 1000, &position) && position > 0);
        },
        3000);
    if (VisiblePage(wizard) == kPageProgress) {
      std::vector<HANDLE> paused = SuspendProcess(tree.Pid());
      Screenshot(shots, wizard, page);
      ResumeProcess(paused);
    }
  }
  for (int waited = 0; waited < kInstallMs; waited += 10) {
    if (VisiblePage(wizard) == kPageFinish) return lastNext;
    double ended = 0;
    if (tree.WaitFirst(0, &ended)) break;
    Sleep(10);
  }
  Failed("the installation ended without its finish page");
  return 0;
}

// The finish page's checklist as the user finds it; left as it is.
void PrintFinishItems(HWND wizard) {
  HWND list = Checklist(wizard);
  if (!list || !IsWindowVisible(list)) return;
  for (const ChecklistItem& item : ChecklistItems(list)) {
    std::printf("finish_item = [%c] %s\n", item.ticked ? 'x' : ' ', item.text.c_str());
  }
}

int Install(const std::string& package, const std::string& shots) {
  ProcessTree tree;
  if (!tree.Start("\"" + package + "\"")) return Failed(winrobot::LastError());
  HWND wizard = WaitForWizard(tree);
  if (!wizard) return Failed("no wizard");
  const double wizardShown = Now();
  const SIZE_T workingSetAtWizard = tree.PeakWorkingSet();
  const SIZE_T privateAtWizard = tree.PeakPrivate();
  std::string destination;
  const double lastNext = WalkToFinish(tree, wizard, shots, &destination);
  if (lastNext == 0) return 1;
  const double finishShown = Now();
  Screenshot(shots, wizard, kPageFinish);
  PrintFinishItems(wizard);
  const double finishClicked = Now();
  if (!winrobot::ClickButton(wizard, Id(kIdWizardFinish))) return Failed(winrobot::LastError());
  // A finish action may end in a message box (Wine's shell without a program for a
  // document): answered as a user would, and shown.
  double ended = 0;
  for (int waited = 0; !tree.WaitFirst(0, &ended); waited += 50) {
    if (waited > kInstallMs) return Failed("the installer did not end after Finish");
    HWND box = winrobot::WaitForMessageBox(tree.Pid(), "", 0);
    if (box) {
      std::printf("message = %s\n", winrobot::MessageBoxText(box).c_str());
      winrobot::AnswerMessageBox(box, "OK");
      winrobot::WaitForWindowGone(box, kStepMs);
    }
    Sleep(50);
  }
  std::printf("destination = %s\n", destination.c_str());
  PrintSeconds("start_to_wizard_s", wizardShown - tree.Started());
  PrintSeconds("robot_on_pages_s", lastNext - wizardShown);
  PrintSeconds("last_next_to_finish_page_s", finishShown - lastNext);
  PrintSeconds("installation_s", (wizardShown - tree.Started()) + (finishShown - lastNext));
  PrintSeconds("finish_to_end_s", ended - finishClicked);
  PrintMemory(tree);
  // How much of it the start-up (package copy, wizard) had already reached.
  std::printf("peak_working_set_at_wizard_kib = %lu\n", static_cast<unsigned long>(workingSetAtWizard / 1024));
  std::printf("peak_private_at_wizard_kib = %lu\n", static_cast<unsigned long>(privateAtWizard / 1024));
  std::printf("exit_code = %lu\n", static_cast<unsigned long>(tree.FirstExitCode()));
  return tree.FirstExitCode() == 0 ? 0 : 1;
}

// Our uninstaller: its confirmation answered Yes, its closing message (success, or the
// restart question answered No) taken. Both stages and the copy's clean-up are waited for.
int Uninstall(const std::string& program) {
  ProcessTree tree;
  if (!tree.Start("\"" + program + "\"")) return Failed(winrobot::LastError());
  HWND confirm = winrobot::WaitForMessageBox(0, "", kStepMs);
  if (!confirm) return Failed(winrobot::LastError());
  const double asked = Now();
  std::printf("question = %s\n", winrobot::MessageBoxText(confirm).c_str());
  const double answered = Now();
  if (!winrobot::AnswerMessageBox(confirm, "Yes")) return Failed(winrobot::LastError());
  if (!winrobot::WaitForWindowGone(confirm, kStepMs)) return Failed(winrobot::LastError());
  HWND closing = winrobot::WaitForMessageBox(0, "", kInstallMs);
  if (!closing) return Failed(winrobot::LastError());
  const double done = Now();
  const std::string title = winrobot::WindowText(closing);
  std::printf("closing_message = %s: %s\n", title.c_str(), winrobot::MessageBoxText(closing).c_str());
  if (!winrobot::AnswerMessageBox(closing, "OK") && !winrobot::AnswerMessageBox(closing, "No")) {
    return Failed(winrobot::LastError());
  }
  if (!tree.WaitEnd(kStepMs)) return Failed("the uninstaller did not end");
  PrintSeconds("uninstallation_s", (asked - tree.Started()) + (done - answered));
  PrintSeconds("closing_to_end_s", tree.Ended() - done);
  std::printf("processes = %d\n", tree.Processes());
  PrintMemory(tree);
  return 0;
}

int Run(const std::vector<std::string>& args) {
  std::string line = "\"" + args[0] + "\"";
  for (std::size_t i = 1; i < args.size(); ++i) line += " " + args[i];
  ProcessTree tree;
  if (!tree.Start(line)) return Failed(winrobot::LastError());
  if (!tree.WaitEnd(kInstallMs)) return Failed("still running after " + std::to_string(kInstallMs / 1000) + " s");
  PrintSeconds("run_s", tree.Ended() - tree.Started());
  std::printf("processes = %d\n", tree.Processes());
  PrintMemory(tree);
  std::printf("exit_code = %lu\n", static_cast<unsigned long>(tree.FirstExitCode()));
  return tree.FirstExitCode() == 0 ? 0 : 1;
}

void PrintFolder(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      PrintFolder(folder + name + "\\");
    } else {
      std::printf("  %s (%lu bytes)\n", (folder + name).c_str(), static_cast<unsigned long>(found.nFileSizeLow));
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

std::string RegistryValue(HKEY root, const std::string& key, const std::string& name) {
  const long long number = ReadNumber(root, key, name);
  return number >= 0 ? std::to_string(number) : ReadText(root, key, name);
}

std::string Present(bool there) { return there ? "" : "  (not there)"; }

// One undo record of the data file and what stands on the system for it.
void PrintRecord(const TaskEntry& record) {
  const std::string type = Field(record.Line, 1);
  const std::string target = Field(record.Line, 2);
  const HKEY root = RootKey(TaskLineRoot(target));
  if (type == "REGADDVALUE") {
    const std::string key = Field(record.Line, 5);
    const std::string name = Field(record.Line, 3);
    std::printf("  value  %s\\%s\\%s = %s\n", target.c_str(), key.c_str(), name.c_str(),
                RegistryValue(root, key, name).c_str());
  } else if (type == "REGADDKEY") {
    const std::string key = Field(record.Line, 5);
    std::printf("  key    %s\\%s%s\n", target.c_str(), key.c_str(), Present(KeyExists(root, key)).c_str());
  } else if (type == "NORMALLINK" || type == "INTERNETLINK") {
    const bool there = GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    LinkFields link;
    ReadLink(target, link);
    std::string points = link.path.empty() ? "" : " -> " + link.path + " (in " + link.workingFolder + ")";
    if (link.path.empty() && there) {
      char url[1024] = "";
      GetPrivateProfileStringA("InternetShortcut", "URL", "", url, sizeof url, target.c_str());
      points = std::string(" -> ") + url;
    }
    std::printf("  link   %s%s%s\n", target.c_str(), points.c_str(), Present(there).c_str());
  } else if (type == "ASSOCIATEEXTENSION") {
    const std::string extension = "." + Field(record.Line, 3);
    std::printf("  type   %s -> %s\n", extension.c_str(), RegistryValue(HKEY_CLASSES_ROOT, extension, "").c_str());
  } else if (type == "CREATEFOLDER" || type == "COPYFILE") {
    const bool there = GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    std::printf("  %s %s%s\n", type == "COPYFILE" ? "copy  " : "folder", target.c_str(), Present(there).c_str());
  } else {
    std::string fields = Field(record.Line, 1);
    for (int n = 2; n <= FieldCount(record.Line); ++n) fields += " | " + Field(record.Line, n);
    std::printf("  %s\n", fields.c_str());
  }
}

// The newest uninstall data file of the folder: an installation over an earlier one
// writes the next number.
std::string NewestDataFile(const std::string& folder) {
  std::string newest;
  FILETIME newestTime = {};
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "Uninst*.dat").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return newest;
  do {
    if (newest.empty() || CompareFileTime(&found.ftLastWriteTime, &newestTime) > 0) {
      newest = folder + found.cFileName;
      newestTime = found.ftLastWriteTime;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return newest;
}

// What the installation left: its files, the undo records with what stands for each
// of them, and its uninstall entry.
int Report(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  const std::string dataFile = NewestDataFile(folder);
  std::printf("Uninstall data: %s\n", dataFile.c_str());
  std::string bytes;
  if (ReadWholeFile(dataFile, kMaxIniFileBytes, &bytes) != FileRead::Ok) return Failed("can't read " + dataFile);
  const UninstallData data = ParseUninstallData(bytes);
  std::printf("Installed \"%s\" into %s\nFiles:\n", data.AppName.c_str(), data.InstallPath.c_str());
  PrintFolder(data.InstallPath);
  std::printf("Recorded for the uninstaller (registry, shortcuts, folders, types):\n");
  for (const TaskEntry& record : data.InstTasks) PrintRecord(record);
  const std::string entry = kUninstallEntryKey + data.AppName;
  std::printf("Uninstall entry HKLM\\%s:\n", entry.c_str());
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, entry.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    std::printf("  (not there)\n");
    return 0;
  }
  char name[256];
  for (DWORD i = 0, size = sizeof name; RegEnumValueA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       ++i, size = sizeof name) {
    std::printf("  %s = %s\n", name, RegistryValue(HKEY_LOCAL_MACHINE, entry, name).c_str());
  }
  RegCloseKey(key);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // Wine starts its desktop process for the first program on a display that asks for the
  // desktop: this one, so that the programs timed don't pay for it.
  GetDesktopWindow();
  std::vector<std::string> args(argv + 1, argv + argc);
  const std::string verb = args.empty() ? "" : args[0];
  if (verb == "install" && (args.size() == 2 || args.size() == 3)) {
    return Install(args[1], args.size() == 3 ? args[2] : "");
  }
  if (verb == "uninstall" && args.size() == 2) return Uninstall(args[1]);
  if (verb == "report" && args.size() == 2) return Report(args[1]);
  if (verb == "run" && args.size() >= 2) return Run(std::vector<std::string>(args.begin() + 1, args.end()));
  std::fprintf(stderr,
               "usage: setup_driver install PACKAGE.exe [SCREENSHOT_FOLDER]\n"
               "       setup_driver uninstall UNINSTALLER.exe\n"
               "       setup_driver run PROGRAM [ARGUMENTS...]\n"
               "       setup_driver report INSTALL_FOLDER\n");
  return 2;
}
