#include "tests/support/wizard_steps.h"

#include <commctrl.h>
#include <shlobj.h>

#include "common/control_ids.h"
#include "installer/wizard/wizard_rules.h"
#include "tools/winrobot/winrobot.h"

namespace installer_e2e {

namespace {

constexpr int kItemTextBytes = 512;

// A block of the installer's memory for one message and its answer.
class RemoteBlock {
 public:
  RemoteBlock(DWORD pid, std::size_t bytes) : bytes_(bytes) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBlock() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  char* at() const { return static_cast<char*>(address_); }
  bool Write(const void* data, std::size_t size, std::size_t offset = 0) {
    return address_ && WriteProcessMemory(process_, at() + offset, data, size, nullptr);
  }
  bool Read(void* data, std::size_t size, std::size_t offset = 0) {
    return address_ && ReadProcessMemory(process_, at() + offset, data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  std::size_t bytes_;
};

LRESULT Ask(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(list, message, wParam, lParam, SMTO_NORMAL, kStepMs, &result)) return -1;
  return static_cast<LRESULT>(result);
}

}  // namespace

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

std::vector<ChecklistItem> ChecklistItems(HWND list, DWORD pid) {
  std::vector<ChecklistItem> items;
  const LRESULT count = Ask(list, LVM_GETITEMCOUNT, 0, 0);
  RemoteBlock block(pid, sizeof(LVITEMA) + kItemTextBytes);
  for (LRESULT i = 0; i < count; ++i) {
    LVITEMA row = {};
    row.iSubItem = 0;
    row.cchTextMax = kItemTextBytes;
    row.pszText = block.at() + sizeof(LVITEMA);
    char text[kItemTextBytes] = "";
    if (!block.Write(&row, sizeof row) ||
        Ask(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(block.at())) < 0 ||
        !block.Read(text, sizeof text, sizeof(LVITEMA))) {
      ADD_FAILURE() << "can't read checklist item " << i;
      return items;
    }
    text[kItemTextBytes - 1] = '\0';
    const LRESULT state = Ask(list, LVM_GETITEMSTATE, static_cast<WPARAM>(i), LVIS_STATEIMAGEMASK);
    items.push_back({text, ((state & LVIS_STATEIMAGEMASK) >> 12) == 2});
  }
  return items;
}

bool SetChecklistItem(HWND list, DWORD pid, int item, bool ticked) {
  RemoteBlock block(pid, sizeof(LVITEMA));
  LVITEMA change = {};
  change.stateMask = LVIS_STATEIMAGEMASK;
  change.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
  return block.Write(&change, sizeof change) &&
         Ask(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(block.at())) > 0;
}

void FinishUnticked(InstallerRun& run, HWND wizard) {
  HWND list = Checklist(wizard);
  const std::size_t count = list ? ChecklistItems(list, run.Pid()).size() : 0;
  for (std::size_t i = 0; i < count; ++i) EXPECT_TRUE(SetChecklistItem(list, run.Pid(), static_cast<int>(i), false));
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
