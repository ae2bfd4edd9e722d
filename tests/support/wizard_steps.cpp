#include "tests/support/wizard_steps.h"

#include <commctrl.h>
#include <shlobj.h>

#include "common/control_ids.h"
#include "installer/wizard/wizard_rules.h"
#include "tools/winrobot/winrobot.h"

namespace installer_e2e {

std::string AllUsersPrograms() { return corvalis::testing::ShellFolder(CSIDL_COMMON_PROGRAMS); }

std::string Id(int id) { return "#" + std::to_string(id); }

HWND Control(HWND wizard, int id) { return winrobot::FindControl(wizard, Id(id)); }

bool Shown(HWND wizard, int id) {
  HWND control = Control(wizard, id);
  return control && IsWindowVisible(control);
}

bool Enabled(HWND wizard, int id) {
  HWND control = Control(wizard, id);
  return control && IsWindowEnabled(control);
}

std::string Text(HWND wizard, int id) { return winrobot::WindowText(Control(wizard, id)); }

int VisiblePage(HWND wizard) {
  for (int page = 0; page < corvalis::kWizardPageCount; ++page) {
    HWND panel = GetDlgItem(wizard, corvalis::kIdWizardFirstPage + page);
    if (panel && IsWindowVisible(panel)) return page;
  }
  return -1;
}

::testing::AssertionResult WaitForPage(HWND wizard, int page, int timeoutMs) {
  if (!Eventually([&] { return VisiblePage(wizard) == page; }, timeoutMs)) {
    return ::testing::AssertionFailure() << "page " << VisiblePage(wizard) << " instead of " << page;
  }
  // The page shows while the wizard may still be setting it up (buttons, focus): a
  // message it answers comes back only once that is done.
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutA(wizard, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &ignored)) {
    return ::testing::AssertionFailure() << "the wizard shows page " << page << " but does not answer";
  }
  return ::testing::AssertionSuccess();
}

void Click(HWND wizard, int id) { ASSERT_TRUE(winrobot::ClickButton(wizard, Id(id))) << winrobot::LastError(); }

void WaitUntilAnswering(HWND wizard) {
  DWORD_PTR ignored = 0;
  EXPECT_NE(SendMessageTimeoutA(wizard, WM_NULL, 0, 0, SMTO_NORMAL, kStepMs, &ignored), 0)
      << "the wizard does not answer";
}

std::string AnswerBox(InstallerRun& run, const std::string& title, const std::string& answer) {
  HWND box = winrobot::WaitForMessageBox(run.Pid(), title, kStartMs);
  EXPECT_NE(box, nullptr) << "no box " << title << ": " << winrobot::LastError();
  if (!box) return std::string();
  const std::string text = winrobot::MessageBoxText(box);
  EXPECT_TRUE(winrobot::AnswerMessageBox(box, answer)) << winrobot::LastError();
  EXPECT_TRUE(winrobot::WaitForWindowGone(box, kStepMs));
  return text;
}

HWND Checklist(HWND wizard) {
  return GetDlgItem(GetDlgItem(wizard, corvalis::kIdWizardFirstPage + corvalis::kPageFinish),
                    corvalis::kIdFinishActions);
}

std::vector<ChecklistItem> ChecklistItems(HWND list) {
  std::vector<ChecklistItem> items;
  for (const winrobot::ListViewItem& item : winrobot::ListViewItems(list)) items.push_back({item.text, item.ticked});
  EXPECT_EQ(winrobot::LastError(), "");
  return items;
}

bool SetChecklistItem(HWND list, int item, bool ticked) { return winrobot::SetListViewItemTicked(list, item, ticked); }

void FinishUnticked(InstallerRun& run, HWND wizard) {
  HWND list = Checklist(wizard);
  const std::size_t count = list ? ChecklistItems(list).size() : 0;
  for (std::size_t i = 0; i < count; ++i) EXPECT_TRUE(SetChecklistItem(list, static_cast<int>(i), false));
  Click(wizard, corvalis::kIdWizardFinish);
  EXPECT_TRUE(run.WaitEnd(kStartMs));
}

HWND InstallToFinishPage(InstallerRun& run, const char* package, bool groupPage,
                         const std::vector<std::string>& downloads) {
  EXPECT_TRUE(run.Start(package));
  HWND wizard = run.WaitForWizard();
  EXPECT_NE(wizard, nullptr) << "no wizard";
  if (!wizard || !WaitForPage(wizard, corvalis::kPageWelcome)) return nullptr;
  Click(wizard, corvalis::kIdWizardNext);
  if (!WaitForPage(wizard, corvalis::kPageDestination)) return nullptr;
  Click(wizard, corvalis::kIdWizardNext);
  if (groupPage) {
    if (!WaitForPage(wizard, corvalis::kPageStartMenu)) return nullptr;
    Click(wizard, corvalis::kIdWizardNext);
  }
  for (const std::string& savePath : downloads) EXPECT_EQ(AnswerBox(run, savePath, "OK").rfind("http://", 0), 0u);
  if (!WaitForPage(wizard, corvalis::kPageFinish, kStartMs)) {
    ADD_FAILURE() << "no finish page";
    return nullptr;
  }
  return wizard;
}

}  // namespace installer_e2e
