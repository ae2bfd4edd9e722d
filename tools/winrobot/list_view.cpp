// List views with check boxes in another process: their item structures must live in that
// process's memory for the messages to reach them.
#include <windows.h>
#include <commctrl.h>

#include "tools/winrobot/robot_internal.h"
#include "tools/winrobot/winrobot.h"

namespace winrobot {

namespace {

constexpr int kItemTextBytes = 512;

// A block of the list's process's memory for one message and its answer.
class RemoteBlock {
 public:
  RemoteBlock(HWND list, std::size_t bytes) {
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBlock() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;

  LPARAM at(std::size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset); }
  bool Write(const void* data, std::size_t size) {
    return address_ && WriteProcessMemory(process_, address_, data, size, nullptr);
  }
  bool Read(void* data, std::size_t size, std::size_t offset) {
    return address_ && ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

}  // namespace

std::vector<ListViewItem> ListViewItems(HWND list) {
  ClearError();
  std::vector<ListViewItem> items;
  DWORD_PTR count = 0;
  if (!IsClass(list, WC_LISTVIEWA) || !SendWithTimeout(list, LVM_GETITEMCOUNT, 0, 0, &count)) {
    Fail("not a list view that answers: " + Describe(list));
    return items;
  }
  RemoteBlock block(list, sizeof(LVITEMA) + kItemTextBytes);
  for (DWORD_PTR i = 0; i < count; ++i) {
    LVITEMA row = {};
    row.cchTextMax = kItemTextBytes;
    row.pszText = reinterpret_cast<char*>(block.at(sizeof(LVITEMA)));
    char text[kItemTextBytes] = "";
    DWORD_PTR ignored = 0, state = 0;
    if (!block.Write(&row, sizeof row) || !SendWithTimeout(list, LVM_GETITEMTEXTA, i, block.at(), &ignored) ||
        !block.Read(text, sizeof text, sizeof(LVITEMA)) ||
        !SendWithTimeout(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK, &state)) {
      Fail("can't read item " + std::to_string(i) + " of " + Describe(list));
      return std::vector<ListViewItem>();
    }
    text[kItemTextBytes - 1] = '\0';
    items.push_back({text, ((state & LVIS_STATEIMAGEMASK) >> 12) == 2});
  }
  return items;
}

bool SetListViewItemTicked(HWND list, int item, bool ticked) {
  ClearError();
  RemoteBlock block(list, sizeof(LVITEMA));
  LVITEMA change = {};
  change.stateMask = LVIS_STATEIMAGEMASK;
  change.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
  DWORD_PTR done = 0;
  if (!IsWindowVisible(list) || !IsWindowEnabled(list)) return Fail(Describe(list) + " is hidden or disabled");
  if (!block.Write(&change, sizeof change) || !SendWithTimeout(list, LVM_SETITEMSTATE, item, block.at(), &done) || !done) {
    return Fail("can't tick item " + std::to_string(item) + " of " + Describe(list));
  }
  return true;
}

}  // namespace winrobot
