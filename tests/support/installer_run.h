// One run of a test package's installer under Wine, for the end-to-end tests that
// drive it through its windows: started under its own program name (Wine's reported
// Windows version is set per name), its work folder found and never left behind.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/test_support.h"
#include "tools/winrobot/winrobot.h"

namespace installer_e2e {

constexpr int kStartMs = 90000;  // package copy and unpacking under emulation
constexpr int kStepMs = 30000;
constexpr char kLanguageDialogTitle[] = "Language selection";

using corvalis::testing::Exists;
using corvalis::testing::ListFolder;
using corvalis::testing::ProgramFolder;

// The installers' work folders now there (full paths, ending in "\"): named by a decimal
// number, below the temporary folder or, in an elevated run, below a private folder there.
std::set<std::string> WorkFolders();
// The folder to remove for a work folder: the private one around it, when it has one.
std::string OutermostFolder(const std::string& workFolder);

class InstallerRun {
 public:
  InstallerRun() = default;
  InstallerRun(const InstallerRun&) = delete;
  InstallerRun& operator=(const InstallerRun&) = delete;
  ~InstallerRun();

  // Starts the test package `name` (testdata/config/<name>.exe) with these parameters.
  ::testing::AssertionResult Start(const std::string& name, const std::string& wineVersion = "",
                                   const std::string& parameters = "");
  DWORD Pid() const { return guard_.process.pid; }
  // The work folder this run created (found once it exists).
  std::string WorkFolder();
  // The run ends within timeoutMs with that exit code (common/exit_codes.h).
  ::testing::AssertionResult WaitEnd(int timeoutMs = kStepMs, DWORD exitCode = 0);
  bool Running();

  // The error box the run must end with: its text, then OK, then the end of the
  // process with its work folder removed.
  void ExpectEndsWithMessage(const std::string& title, const std::string& text, DWORD exitCode = 1603);
  // Passing the checks leads to the wizard; the run must have made its work folder,
  // and neither an error box nor (unless one was chosen) the language dialog may show
  // up on the way.
  void ExpectChecksPassed(bool languageChosen = false);
  // The wizard window (its title ends in " :: Setup"), now or once it shows up;
  // nullptr when the run ends first or it doesn't come.
  HWND FindWizard();
  HWND WaitForWizard();

 private:
  winrobot::ProcessGuard guard_;
  std::string exeName_;
  std::string wineVersion_;
  std::set<std::string> before_;
  std::string workFolder_;
};

// Watches the screen from construction to Stop(): every top-level window that becomes
// visible meanwhile, with its title, and the pages a wizard among them showed.
class WindowWatch {
 public:
  WindowWatch();
  ~WindowWatch();
  WindowWatch(const WindowWatch&) = delete;
  WindowWatch& operator=(const WindowWatch&) = delete;
  void Stop();
  // Of the windows that showed in processes this test program started.
  std::set<std::string> Titles();
  std::set<int> WizardPages();          // the pages a wizard showed

 private:
  void Look();
  // What the windows of one process showed.
  struct Seen {
    std::set<std::string> titles;
    std::set<int> pages;
    bool classified = false;
    bool ours = false;  // started by this test program
  };
  std::set<HWND> before_;
  std::map<unsigned long, Seen> seen_;  // by process
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace installer_e2e
