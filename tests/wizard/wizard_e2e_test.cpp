// The wizard driven through its pages under Wine, a few walks each through one
// installer start. Screenshots of the pages land in the build tree.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include <regex>
#include <string>
#include <vector>

#include "common/control_ids.h"
#include "installer/wizard/wizard_rules.h"
#include "common/folder_tree.h"
#include "common/system_operations.h"
#include "tests/support/installer_run.h"
#include "tests/support/test_support.h"
#include "tests/support/wizard_steps.h"
#include "tools/winrobot/winrobot.h"

namespace {

using namespace corvalis;
using namespace installer_e2e;
using corvalis::testing::ShellFolder;

const char kConfirmTitle[] = "Please confirm";
const char kSampleTitle[] = "Corvalis Sample v.1.0 :: Setup";
const char kSampleFolder[] = "C:\\Program Files\\Corvalis Sample\\";

void SetDestination(HWND wizard, const std::string& text) {
  ASSERT_TRUE(winrobot::SetEditText(wizard, Id(kIdDestinationPath), text)) << winrobot::LastError();
}

void Screenshot(HWND wizard, const std::string& name) {
  const char* data = std::getenv("CORVALIS_TEST_DATA");
  ASSERT_NE(data, nullptr);
  const std::string folder = std::string(data) + "/screenshots";
  CreateDirectoryA(winrobot::UnixToWindowsPath(folder).c_str(), nullptr);
  Sleep(400);  // the page's controls paint after the switch
  EXPECT_TRUE(winrobot::SaveScreenshot(folder + "/wizard_" + name + ".png", kStepMs, wizard)) << winrobot::LastError();
}

// Cancel asks, and No leaves the wizard on the same page.
void CancelAndStay(InstallerRun& run, HWND wizard) {
  const int page = VisiblePage(wizard);
  Click(wizard, kIdWizardCancel);
  HWND confirm = winrobot::WaitForMessageBox(run.Pid(), kConfirmTitle, kStepMs);
  ASSERT_NE(confirm, nullptr) << winrobot::LastError();
  EXPECT_EQ(winrobot::MessageBoxText(confirm),
            "Are you sure you want to stop the installation now? Press 'No' to continue or 'Yes' to end this "
            "program. You can run this installer at a later time and continue the installation procedure.");
  ASSERT_TRUE(winrobot::AnswerMessageBox(confirm, "No")) << winrobot::LastError();
  ASSERT_TRUE(winrobot::WaitForWindowGone(confirm, kStepMs));
  WaitUntilAnswering(wizard);
  EXPECT_TRUE(run.Running());
  EXPECT_EQ(VisiblePage(wizard), page);
}

// What an installation of the sample leaves, gone again.
void RemoveSample() {
  corvalis::DeleteFolderTree(kSampleFolder);
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Corvalis Sample");
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Corvalis Sample");
  corvalis::DisassociateExtension("csmp", "notepad.exe");
}

// The run has ended: its work folder is gone, and neither its destination nor the
// script's registry key exists.
void ExpectNothingInstalled(const std::string& workFolder, const std::string& destination) {
  EXPECT_FALSE(Exists(workFolder)) << "work folder left behind: " << workFolder;
  EXPECT_FALSE(Exists(destination)) << destination;
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Corvalis Sample", 0, KEY_READ, &key), ERROR_SUCCESS);
  if (key) RegCloseKey(key);
}

// Next on the last page before the progress page installs the sample (the Start-menu
// page must not show on the way); the finish page's actions are left unticked, and
// what the installation left is removed again.
void ExpectInstallationRuns(InstallerRun& run, HWND wizard) {
  const std::string folder = run.WorkFolder();
  Click(wizard, kIdWizardNext);
  bool groupPageShown = false;
  for (int waited = 0; waited < kStartMs && VisiblePage(wizard) != kPageFinish && run.Running(); waited += 20) {
    groupPageShown = groupPageShown || VisiblePage(wizard) == kPageStartMenu;
    Sleep(20);
  }
  EXPECT_FALSE(groupPageShown);
  ASSERT_TRUE(WaitForPage(wizard, kPageFinish));
  FinishUnticked(run, wizard);
  EXPECT_FALSE(Exists(folder)) << "work folder left behind: " << folder;
  EXPECT_TRUE(Exists(std::string(kSampleFolder) + "Uninst0.exe"));
  RemoveSample();
}

// The sample's default destination, changeable or not, and its two space lines.
void ExpectDestinationPage(HWND wizard, bool changeable) {
  EXPECT_EQ(Text(wizard, kIdDestinationPath), kSampleFolder);
  EXPECT_EQ(Enabled(wizard, kIdDestinationPath), changeable);
  EXPECT_EQ(Enabled(wizard, kIdDestinationBrowse), changeable);
  const std::string size = "(\\d+ Byte|\\d+\\.\\d (KB|MB|GB|TB|PB|EB))";
  const std::string available = Text(wizard, kIdAvailableSpace);
  const std::string required = Text(wizard, kIdRequiredSpace);
  EXPECT_TRUE(std::regex_match(available, std::regex("Available space: " + size))) << available;
  EXPECT_TRUE(std::regex_match(required, std::regex("Required space: " + size))) << required;
}

// A file of the sample's configuration, as the test packages carry it.
std::string SampleResource(const std::string& name) {
  const char* data = std::getenv("CORVALIS_TEST_DATA");
  if (!data) return std::string();
  const std::string path = winrobot::UnixToWindowsPath(std::string(data) + "/config/src/wiz_full/Resources/" + name);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string text(1 << 16, '\0');
  DWORD read = 0;
  ReadFile(file, &text[0], static_cast<DWORD>(text.size()), &read, nullptr);
  CloseHandle(file);
  text.resize(read);
  return text;
}


// Starts the package and waits for its wizard on the welcome page; nullptr (with the
// failure recorded) when it doesn't come.
HWND OpenWizard(InstallerRun& run, const char* package) {
  ::testing::AssertionResult started = run.Start(package);
  EXPECT_TRUE(started);
  HWND wizard = started ? run.WaitForWizard() : nullptr;
  EXPECT_NE(wizard, nullptr) << "no wizard";
  if (wizard && !WaitForPage(wizard, 0)) {
    ADD_FAILURE() << "the wizard does not open on the welcome page";
    return nullptr;
  }
  return wizard;
}

TEST(WizardWalk, EveryPageOfTheSample) {
  InstallerRun run;
  HWND wizard = OpenWizard(run, "wiz_full");
  ASSERT_NE(wizard, nullptr);
  EXPECT_EQ(winrobot::WindowText(wizard), kSampleTitle);
  RECT client;
  GetClientRect(wizard, &client);
  EXPECT_EQ(client.right, 491);
  EXPECT_EQ(client.bottom, 358);
  EXPECT_NE(GetWindowLongA(wizard, GWL_STYLE) & WS_MINIMIZEBOX, 0);
  // The bitmaps and texts are in memory; their unpacked files are gone.
  EXPECT_FALSE(Exists(run.WorkFolder() + "Information\\"));

  // Welcome.
  EXPECT_EQ(Text(wizard, kIdWelcomeTitle), "Welcome to the Corvalis Sample version 1.0 installation wizard.");
  EXPECT_TRUE(Shown(wizard, kIdWelcomeBitmap));
  EXPECT_FALSE(Enabled(wizard, kIdWizardPrevious));
  EXPECT_TRUE(Enabled(wizard, kIdWizardNext));
  EXPECT_FALSE(Shown(wizard, kIdWizardFinish));
  EXPECT_TRUE(Shown(wizard, kIdWizardWebLink));
  EXPECT_EQ(Text(wizard, kIdWizardWebLink), "http://127.0.0.1/corvalis-sample");
  Screenshot(wizard, "welcome");
  CancelAndStay(run, wizard);

  // Licence: Next follows the box at once; back on the welcome page Next works again.
  Click(wizard, kIdWizardNext);
  ASSERT_TRUE(WaitForPage(wizard, 1));
  EXPECT_EQ(Text(wizard, kIdLicenseText), SampleResource("License.txt"));
  EXPECT_FALSE(Enabled(wizard, kIdWizardNext));
  ASSERT_TRUE(winrobot::SetCheck(wizard, Id(kIdLicenseAgree), true)) << winrobot::LastError();
  EXPECT_TRUE(Eventually([&] { return Enabled(wizard, kIdWizardNext); }));
  ASSERT_TRUE(winrobot::SetCheck(wizard, Id(kIdLicenseAgree), false)) << winrobot::LastError();
  EXPECT_TRUE(Eventually([&] { return !Enabled(wizard, kIdWizardNext); }));
  Screenshot(wizard, "license");
  CancelAndStay(run, wizard);
  Click(wizard, kIdWizardPrevious);
  ASSERT_TRUE(WaitForPage(wizard, 0));
  EXPECT_TRUE(Enabled(wizard, kIdWizardNext));
  Click(wizard, kIdWizardNext);
  ASSERT_TRUE(WaitForPage(wizard, 1));
  ASSERT_TRUE(winrobot::SetCheck(wizard, Id(kIdLicenseAgree), true)) << winrobot::LastError();
  ASSERT_TRUE(Eventually([&] { return Enabled(wizard, kIdWizardNext); }));

  // Read-me.
  Click(wizard, kIdWizardNext);
  ASSERT_TRUE(WaitForPage(wizard, 2));
  EXPECT_EQ(Text(wizard, kIdReadMeText), SampleResource("ReadMe.txt"));
  Screenshot(wizard, "readme");
  CancelAndStay(run, wizard);

  // Destination: the default path, the space lines, and the empty-field warning.
  Click(wizard, kIdWizardNext);
  ASSERT_TRUE(WaitForPage(wizard, 3));
  ExpectDestinationPage(wizard, true);
  Screenshot(wizard, "destination");
  CancelAndStay(run, wizard);
  // Empty, blank or relative: each would install relative to the current folder.
  for (const char* refused : {"", "   ", "Sample\\"}) {
    SetDestination(wizard, refused);
    Click(wizard, kIdWizardNext);
    HWND warning = winrobot::WaitForMessageBox(run.Pid(), "Warning", kStepMs);
    ASSERT_NE(warning, nullptr) << refused << winrobot::LastError();
    EXPECT_EQ(winrobot::MessageBoxText(warning), "Please select a path for the program!");
    ASSERT_TRUE(winrobot::AnswerMessageBox(warning, "OK")) << winrobot::LastError();
    ASSERT_TRUE(winrobot::WaitForWindowGone(warning, kStepMs));
    WaitUntilAnswering(wizard);
    EXPECT_EQ(VisiblePage(wizard), 3);
  }
  SetDestination(wizard, kSampleFolder);
  Click(wizard, kIdWizardNext);

  // Start-menu group: the folder list and the group it names.
  ASSERT_TRUE(WaitForPage(wizard, 4));
  const std::string programs = AllUsersPrograms();
  EXPECT_EQ(Text(wizard, kIdGroupPath), programs + "Corvalis Sample\\");
  EXPECT_FALSE(Enabled(wizard, kIdGroupPath));
  const std::vector<std::string> items = winrobot::ListItems(wizard, Id(kIdGroupFolders));
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items.front(), "");
  for (std::size_t i = 1; i < items.size(); ++i) EXPECT_TRUE(Exists(programs + items[i] + "\\")) << items[i];
  if (items.size() > 1) {
    ASSERT_TRUE(winrobot::SelectItem(wizard, Id(kIdGroupFolders), items[1])) << winrobot::LastError();
    EXPECT_TRUE(Eventually([&] { return Text(wizard, kIdGroupPath) == programs + items[1] + "\\Corvalis Sample\\"; }))
        << Text(wizard, kIdGroupPath);
  }
  Screenshot(wizard, "startmenu");
  CancelAndStay(run, wizard);

  // No group, back and on: the Start-menu page is not shown again.
  ASSERT_TRUE(winrobot::SetCheck(wizard, Id(kIdNoGroup), true)) << winrobot::LastError();
  EXPECT_TRUE(Eventually([&] { return !Enabled(wizard, kIdGroupFolders); }));
  Click(wizard, kIdWizardPrevious);
  ASSERT_TRUE(WaitForPage(wizard, 3));
  ExpectInstallationRuns(run, wizard);
}

TEST(WizardWalk, WithoutLicenceReadMeGroupOrWebsite) {
  InstallerRun run;
  HWND wizard = OpenWizard(run, "wiz_bare");
  ASSERT_NE(wizard, nullptr);
  EXPECT_FALSE(Shown(wizard, kIdWizardWebLink));
  // Only the buttons leave the wizard: a close request changes nothing.
  DWORD_PTR ignored = 0;
  ASSERT_NE(SendMessageTimeoutA(wizard, WM_CLOSE, 0, 0, SMTO_NORMAL, kStepMs, &ignored), 0);
  EXPECT_TRUE(run.Running());
  EXPECT_TRUE(IsWindowVisible(wizard));

  Click(wizard, kIdWizardNext);
  ASSERT_TRUE(WaitForPage(wizard, 3));
  Click(wizard, kIdWizardPrevious);
  ASSERT_TRUE(WaitForPage(wizard, 0));
  Click(wizard, kIdWizardNext);
  ASSERT_TRUE(WaitForPage(wizard, 3));

  ExpectDestinationPage(wizard, false);
  CancelAndStay(run, wizard);
  ExpectInstallationRuns(run, wizard);
}

// The folder browser of the destination page: its start folder taken with OK, another
// folder chosen in its tree, and Cancel, which changes nothing.
TEST(WizardWalk, BrowseForTheDestination) {
  InstallerRun run;
  HWND wizard = OpenWizard(run, "wiz_self_name");
  ASSERT_NE(wizard, nullptr);
  Click(wizard, kIdWizardNext);
  ASSERT_TRUE(WaitForPage(wizard, kPageDestination));
  // The browser is a dialog of the installer's own thread: the wizard is blocked meanwhile.
  auto openBrowser = [&]() -> HWND {
    EXPECT_TRUE(PostMessageA(Control(wizard, kIdDestinationBrowse), BM_CLICK, 0, 0));
    HWND dialog = nullptr;
    EXPECT_TRUE(Eventually([&] {
      HWND window = winrobot::WaitForWindowOfProcess(run.Pid(), "", 0);
      for (; window; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char name[32] = "";
        GetClassNameA(window, name, sizeof name);
        if (pid == run.Pid() && IsWindowVisible(window) && std::string(name) == "#32770") dialog = window;
      }
      return dialog != nullptr;
    })) << "no folder browser";
    return dialog;
  };
  auto closeBrowser = [&](HWND dialog, const char* button) {
    ASSERT_TRUE(winrobot::ClickButton(dialog, button)) << winrobot::LastError();
    ASSERT_TRUE(winrobot::WaitForWindowGone(dialog, kStepMs));
    WaitUntilAnswering(wizard);
  };

  HWND dialog = openBrowser();
  ASSERT_NE(dialog, nullptr);
  EXPECT_NE(winrobot::FindControl(dialog, "Browse for folder"), nullptr) << "the language file's title";
  closeBrowser(dialog, "OK");
  const std::string programFiles = ShellFolder(CSIDL_PROGRAM_FILES);
  EXPECT_EQ(Text(wizard, kIdDestinationPath), programFiles) << "the start folder";

  dialog = openBrowser();
  ASSERT_NE(dialog, nullptr);
  HWND tree = FindWindowExA(dialog, nullptr, "SysTreeView32", nullptr);
  ASSERT_NE(tree, nullptr);
  const LRESULT selected = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
  const LRESULT parent = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, selected);
  ASSERT_NE(parent, 0);
  SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, parent);
  closeBrowser(dialog, "OK");
  EXPECT_EQ(Text(wizard, kIdDestinationPath), programFiles.substr(0, 3)) << "the drive above Program Files";

  dialog = openBrowser();
  ASSERT_NE(dialog, nullptr);
  closeBrowser(dialog, "Cancel");
  EXPECT_EQ(Text(wizard, kIdDestinationPath), programFiles.substr(0, 3));
}

TEST(WizardWalk, NameHoldingItsOwnTokenAndCancelYes) {
  InstallerRun run;
  HWND wizard = OpenWizard(run, "wiz_self_name");
  ASSERT_NE(wizard, nullptr);
  Click(wizard, kIdWizardNext);
  ASSERT_TRUE(WaitForPage(wizard, 3));
  const std::string destination = Text(wizard, kIdDestinationPath);
  EXPECT_EQ(destination.rfind("C:\\Program Files\\<ProgramName> <ProgramName> ", 0), 0u) << destination.substr(0, 80);
  EXPECT_LE(destination.size(), 32768u);

  const std::string folder = run.WorkFolder();
  Click(wizard, kIdWizardCancel);
  HWND confirm = winrobot::WaitForMessageBox(run.Pid(), kConfirmTitle, kStepMs);
  ASSERT_NE(confirm, nullptr) << winrobot::LastError();
  ASSERT_TRUE(winrobot::AnswerMessageBox(confirm, "Yes")) << winrobot::LastError();
  ASSERT_TRUE(run.WaitEnd(kStepMs, 1602)) << "cancelled by the user";
  ExpectNothingInstalled(folder, destination);
}

struct BrokenPackage {
  const char* package;
  const char* message;
};

class WizardBrokenPackage : public ::testing::TestWithParam<BrokenPackage> {};

TEST_P(WizardBrokenPackage, EndsWithItsMessage) {
  InstallerRun run;
  ASSERT_TRUE(run.Start(GetParam().package));
  run.ExpectEndsWithMessage("Error", GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    WizardWalk, WizardBrokenPackage,
    ::testing::Values(BrokenPackage{"wiz_no_wizard_bitmap", "Could not load the wizard picture."},
                      BrokenPackage{"wiz_bad_header_bitmap", "Could not load the header picture."},
                      BrokenPackage{"wiz_no_license", "Could not read the license file."}));

// Real key presses on the virtual display, as a keyboard sends them to the focused window.
// Wine starts a Unix program without a process to wait for: the keys arrive a moment
// later, so every caller waits for what they do. The display is named on the command line
// (through env): a Unix program started from Wine may not get it from the environment.
bool PressKeys(const std::string& keys) {
  char display[256] = "";
  GetEnvironmentVariableA("DISPLAY", display, sizeof display);
  std::string line = "Z:\\usr\\bin\\env DISPLAY=" + std::string(display) + " /usr/bin/xdotool " + keys;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    ADD_FAILURE() << "can't start xdotool: " << GetLastError();
    return false;
  }
  if (process.hThread) CloseHandle(process.hThread);
  if (process.hProcess) CloseHandle(process.hProcess);
  return true;
}

// The control that has the keyboard focus in the wizard's thread, by id (0: none).
int FocusedId(HWND wizard) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(wizard, nullptr), &info) || !info.hwndFocus) return 0;
  return GetDlgCtrlID(info.hwndFocus);
}

// Waits for the focus to be on id; false when it doesn't get there.
bool FocusOn(HWND wizard, int id) {
  for (int waited = 0; waited < kStepMs; waited += 20) {
    if (FocusedId(wizard) == id) return true;
    Sleep(20);
  }
  return false;
}

const std::string kShiftTab = "key shift+Tab";

// Presses key until the focus comes back to where it was; the ids it went through.
std::vector<int> TabRound(HWND wizard, const std::string& key) {
  const int start = FocusedId(wizard);
  std::vector<int> seen;
  for (int press = 0; press < 12; ++press) {
    const int before = FocusedId(wizard);
    if (!PressKeys(key)) break;
    for (int waited = 0; waited < kStepMs && FocusedId(wizard) == before; waited += 20) Sleep(20);
    seen.push_back(FocusedId(wizard));
    if (seen.back() == start) break;
  }
  return seen;
}

// Welcome to Finish without a mouse: every page opens on its default button, Tab and
// Shift+Tab go round the licence page in reading order and back, Space ticks the box,
// Esc asks to cancel, Enter goes on (not from inside the licence text).
TEST(WizardKeyboard, WelcomeToFinishFromTheKeyboard) {
  if (!Exists("Z:\\usr\\bin\\xdotool")) GTEST_SKIP() << "SKIPPED: no xdotool on this machine";
  InstallerRun run;
  HWND wizard = OpenWizard(run, "wiz_full");
  ASSERT_NE(wizard, nullptr);
  ASSERT_TRUE(FocusOn(wizard, kIdWizardNext)) << FocusedId(wizard);
  ASSERT_TRUE(PressKeys("key Return"));
  ASSERT_TRUE(WaitForPage(wizard, kPageLicense));

  // The licence not yet accepted: Next is out of the round.
  const std::vector<int> forward = TabRound(wizard, "key Tab");
  const std::vector<int> expected = {kIdLicenseAgree, kIdWizardPrevious, kIdWizardCancel, kIdLicenseText};
  EXPECT_EQ(forward, expected) << "Tab from the licence text, in reading order, back to it";
  // Shift+Tab leaves the text backwards. (Under Wine a second Shift+Tab from another
  // xdotool run arrives without its Shift, so the round backwards is not driven here.)
  ASSERT_TRUE(PressKeys(kShiftTab));
  EXPECT_TRUE(FocusOn(wizard, kIdWizardCancel)) << FocusedId(wizard);
  ASSERT_TRUE(PressKeys("key Tab"));
  ASSERT_TRUE(FocusOn(wizard, kIdLicenseText));
  // Space on the box ticks it; Enter inside the text then presses nothing (the Tab after it
  // shows it has been handled), on the box it goes on.
  ASSERT_TRUE(FocusOn(wizard, kIdLicenseText));
  ASSERT_TRUE(PressKeys("key --delay 30 Tab space"));
  for (int waited = 0; waited < kStepMs && !Enabled(wizard, kIdWizardNext); waited += 20) Sleep(20);
  ASSERT_TRUE(Enabled(wizard, kIdWizardNext)) << "Space didn't tick the licence box";
  ASSERT_TRUE(PressKeys("key --delay 30 Tab Tab Tab Tab"));  // Previous, Next (usable now), Cancel, the text
  ASSERT_TRUE(FocusOn(wizard, kIdLicenseText));
  ASSERT_TRUE(PressKeys("key --delay 30 Return Tab"));
  ASSERT_TRUE(FocusOn(wizard, kIdLicenseAgree));
  EXPECT_EQ(VisiblePage(wizard), kPageLicense) << "Enter in the text went on";
  ASSERT_TRUE(PressKeys("key Return"));
  ASSERT_TRUE(WaitForPage(wizard, kPageReadMe));
  EXPECT_TRUE(FocusOn(wizard, kIdWizardNext));

  // Esc asks, as Cancel does; No stays on the page.
  ASSERT_TRUE(PressKeys("key Escape"));
  HWND confirm = winrobot::WaitForMessageBox(run.Pid(), "Please confirm", kStepMs);
  ASSERT_NE(confirm, nullptr) << winrobot::LastError();
  ASSERT_TRUE(winrobot::AnswerMessageBox(confirm, "No"));
  ASSERT_TRUE(winrobot::WaitForWindowGone(confirm, kStepMs));
  EXPECT_TRUE(FocusOn(wizard, kIdWizardNext));

  for (int page : {kPageDestination, kPageStartMenu, kPageFinish}) {
    ASSERT_TRUE(PressKeys("key Return"));
    ASSERT_TRUE(WaitForPage(wizard, page, kStartMs)) << page;
  }
  EXPECT_TRUE(FocusOn(wizard, kIdWizardFinish));
  // The actions, each unticked with Space, then Finish with Enter.
  HWND list = Checklist(wizard);
  ASSERT_NE(list, nullptr);
  const std::size_t items = ChecklistItems(list).size();
  std::string keys = "key --delay 30 Tab Home";  // Finish, then the actions (Tab goes round)
  for (std::size_t i = 0; i < items; ++i) keys += " space Down";
  ASSERT_TRUE(PressKeys(keys));
  auto anyTicked = [&]() {
    for (const ChecklistItem& item : ChecklistItems(list)) {
      if (item.ticked) return true;
    }
    return false;
  };
  for (int waited = 0; waited < kStepMs && anyTicked(); waited += 20) Sleep(20);
  EXPECT_FALSE(anyTicked()) << "Space didn't untick every action";
  ASSERT_TRUE(PressKeys("key Return"));
  EXPECT_TRUE(run.WaitEnd(kStartMs, 0));
  RemoveSample();
}

}  // namespace