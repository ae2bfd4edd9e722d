#pragma once
// Drives the windows of another program the way a user would, for end-to-end tests
// under Wine. Every wait is bounded; nothing sends a blocking message to the target,
// so a program stuck in a modal loop can't hang the robot.
//
//   winrobot::ProcessGuard installer;
//   ASSERT_TRUE(winrobot::StartProcess("\"" + winrobot::DistFilePath("Installer.exe") + "\"",
//                                      &installer.process)) << winrobot::LastError();
//   HWND box = winrobot::WaitForMessageBox(installer.process.pid, "Error", 30000);
//   ASSERT_NE(box, nullptr) << winrobot::LastError();
//   EXPECT_EQ(winrobot::MessageBoxText(box), "...");
//   ASSERT_TRUE(winrobot::AnswerMessageBox(box, "OK")) << winrobot::LastError();
//   DWORD exitCode = 0;
//   EXPECT_TRUE(winrobot::WaitProcess(installer.process, 30000, &exitCode)) << winrobot::LastError();
#include <windows.h>

#include <string>
#include <vector>

#include "tools/winrobot/control_ref.h"
#include "tools/winrobot/unix_path.h"

namespace winrobot {

// Visible top-level window with exactly this title; nullptr on timeout.
HWND WaitForWindow(const std::string& exactTitle, int timeoutMs);
// Empty title: any visible top-level window of the process. Fails at once when the
// process has ended (also WaitForMessageBox).
HWND WaitForWindowOfProcess(DWORD pid, const std::string& exactTitle, int timeoutMs);
// A standard message box ("#32770" with a message text); pid 0 = any process,
// empty title = any title. Tells an error box from a main window of the same title.
HWND WaitForMessageBox(DWORD pid, const std::string& exactTitle, int timeoutMs);
// True once the window is destroyed or hidden.
bool WaitForWindowGone(HWND w, int timeoutMs);

struct ControlInfo {
  HWND hwnd;
  std::string className;
  int id;
  std::string text;
  bool visible;
  bool enabled;
  bool checked;
};
std::vector<ControlInfo> ListControls(HWND window);  // all descendants, in Z order

// "#123" = control id; else the control's text, ignoring '&'. Visible controls win
// over hidden ones (wizard pages keep their hidden siblings around).
HWND FindControl(HWND window, const std::string& textOrId);
// Until the control exists, is visible and enabled; nullptr on timeout.
HWND WaitForControl(HWND window, const std::string& textOrId, int timeoutMs);

// The actions refuse hidden or disabled controls and windows blocked by a modal
// dialog, as a user's click would. For edit fields, lists and combo boxes the
// control may also be named by its label: the Static just before it in Z order.
bool ClickButton(HWND window, const std::string& textOrId);
bool SetCheck(HWND window, const std::string& textOrId, bool checked);
bool SetEditText(HWND window, const std::string& textOrId, const std::string& text);
bool SelectItem(HWND window, const std::string& textOrId, const std::string& itemText);  // list box or combo box
std::vector<std::string> ListItems(HWND window, const std::string& textOrId);

// A list view's items with their check boxes (the finish page's actions), in order; empty
// with LastError() when the list can't be read.
struct ListViewItem {
  std::string text;
  bool ticked = false;
};
std::vector<ListViewItem> ListViewItems(HWND list);
bool SetListViewItemTicked(HWND list, int item, bool ticked);

std::string WindowText(HWND w);
std::string MessageBoxText(HWND box);                            // the message text of a standard message box
bool AnswerMessageBox(HWND box, const std::string& buttonText);  // "OK", "Yes", "No", "Cancel" ...

// Why the last call of this thread failed, for test output and the CLI.
std::string LastError();

// Process helpers for tests
struct Process {
  HANDLE handle = nullptr;
  DWORD pid = 0;
};
bool StartProcess(const std::string& commandLine, Process* out, const std::string& workingDir = "");
bool WaitProcess(const Process& p, int timeoutMs, DWORD* exitCode);  // false on timeout
void KillProcess(const Process& p);                                  // terminate if running, close
// A file in the dist folder that ctest names in CORVALIS_DIST, as a Windows path;
// empty when the variable is missing.
std::string DistFilePath(const std::string& fileName);
// Ends the process when a test leaves early (a failed ASSERT) so it can't hold the
// installer's mutex for the next test.
struct ProcessGuard {
  Process process;
  ProcessGuard() = default;
  ProcessGuard(const ProcessGuard&) = delete;
  ProcessGuard& operator=(const ProcessGuard&) = delete;
  ~ProcessGuard() { KillProcess(process); }
};

// The screen, or only window's client area, as a PNG file at unixPngPath (a Linux
// path), through ImageMagick's "import -window root" on the display Wine uses; false
// when the file isn't there in time.
bool SaveScreenshot(const std::string& unixPngPath, int timeoutMs, HWND window = nullptr);

// Wine's per-program Windows version (HKCU\Software\Wine\AppDefaults\<exeName>\Version),
// e.g. "win98", "nt40", "win2k", "winxp", "win2003", "vista", "win7"; empty removes it.
// Applies to processes started afterwards.
bool SetWineVersion(const std::string& exeName, const std::string& version);

}  // namespace winrobot
