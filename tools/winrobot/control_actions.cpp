#include <cstring>
#include <vector>

#include "tools/winrobot/robot_internal.h"
#include "tools/winrobot/winrobot.h"

namespace winrobot {
namespace {

constexpr DWORD kCheckSettleMs = 5000;

bool ReadCheck(HWND button, DWORD_PTR* state) { return SendWithTimeout(button, BM_GETCHECK, 0, 0, state); }

bool WaitForCheckState(HWND button, DWORD_PTR wanted) {
  DWORD start = GetTickCount();
  for (;;) {
    DWORD_PTR state = 0;
    if (ReadCheck(button, &state) && state == wanted) return true;
    if (GetTickCount() - start >= kCheckSettleMs) return false;
    Sleep(kPollIntervalMs);
  }
}

bool IsCombo(HWND w) { return IsClass(w, "ComboBox"); }

// Wine hands another process's combo and list items back in UTF-16 even to the "A"
// call, past the end of an ANSI-sized buffer; asking in UTF-16 and converting here
// gives the same result everywhere.
bool ReadItems(HWND list, std::vector<std::string>* items) {
  bool combo = IsCombo(list);
  DWORD_PTR count = 0;
  if (!SendWithTimeout(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0, &count)) {
    return Fail("the list does not answer");
  }
  if (static_cast<LRESULT>(count) < 0) return Fail("the list does not report its items");
  for (DWORD_PTR i = 0; i < count; ++i) {
    DWORD_PTR length = 0;
    if (!SendWithTimeout(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0, &length, nullptr, true) ||
        static_cast<LRESULT>(length) < 0) {
      return Fail("item " + std::to_string(i) + " of the list can't be read");
    }
    std::vector<char> buffer((length + 16) * sizeof(wchar_t), '\0');
    DWORD_PTR copied = 0;
    if (!SendWithTimeout(list, combo ? CB_GETLBTEXT : LB_GETTEXT, i, 0, &copied, &buffer, true) ||
        static_cast<LRESULT>(copied) < 0) {
      return Fail("item " + std::to_string(i) + " of the list can't be read");
    }
    std::vector<wchar_t> wide(buffer.size() / sizeof(wchar_t) + 1, L'\0');
    std::memcpy(wide.data(), buffer.data(), buffer.size());
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    std::vector<char> text(bytes > 0 ? bytes : 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, text.data(), static_cast<int>(text.size()), nullptr, nullptr);
    items->push_back(text.data());
  }
  return true;
}

std::string JoinQuoted(const std::vector<std::string>& items) {
  std::string joined;
  for (const std::string& item : items) joined += (joined.empty() ? "" : ", ") + Quote(item);
  return joined.empty() ? "none" : joined;
}

}  // namespace

bool ClickButton(HWND window, const std::string& textOrId) {
  HWND button = FindTarget(window, textOrId, ClassFilter::Button, "button");
  if (button == nullptr || !CheckUsable(button, textOrId)) return false;
  // Push buttons: the parent's notification, which works whether or not the window is
  // active; check and radio buttons need their own click to change state.
  if (IsPushButton(button)) {
    NotifyParent(button, BN_CLICKED);
  } else {
    PostMessageA(button, BM_CLICK, 0, 0);
  }
  return true;
}

bool SetCheck(HWND window, const std::string& textOrId, bool checked) {
  HWND button = FindTarget(window, textOrId, ClassFilter::Button, "checkbox");
  if (button == nullptr || !CheckUsable(button, textOrId)) return false;
  if (!IsCheckable(button)) return Fail("button " + Quote(textOrId) + " is not a checkbox");
  DWORD_PTR wanted = checked ? BST_CHECKED : BST_UNCHECKED;
  // A three-state box may need two clicks; a radio button never unticks by a click.
  for (int click = 0; click < 3; ++click) {
    DWORD_PTR state = 0;
    if (!ReadCheck(button, &state)) return Fail(Describe(GetAncestor(button, GA_ROOT)) + " does not answer");
    if (state == wanted) return true;
    DWORD_PTR before = state;
    PostMessageA(button, BM_CLICK, 0, 0);
    if (WaitForCheckState(button, wanted)) return true;
    if (!ReadCheck(button, &state) || state == before) break;
  }
  return Fail("checkbox " + Quote(textOrId) + " did not become " + (checked ? "ticked" : "unticked"));
}

bool SetEditText(HWND window, const std::string& textOrId, const std::string& text) {
  HWND edit = FindTarget(window, textOrId, ClassFilter::EditLike, "edit field");
  if (edit == nullptr || !CheckUsable(edit, textOrId)) return false;
  if (GetWindowLongA(edit, GWL_STYLE) & ES_READONLY) return Fail("edit field " + Quote(textOrId) + " is read-only");
  DWORD_PTR accepted = 0;
  std::vector<char> buffer(text.c_str(), text.c_str() + text.size() + 1);
  if (!SendWithTimeout(edit, WM_SETTEXT, 0, 0, &accepted, &buffer) || !accepted) {
    return Fail("edit field " + Quote(textOrId) + " did not take the text");
  }
  bool responsive = true;
  std::string now = ReadText(edit, &responsive);
  if (now != text) return Fail("edit field " + Quote(textOrId) + " holds " + Quote(now) + " after setting it");
  // Single-line fields announce WM_SETTEXT themselves; multi-line ones stay silent.
  if (GetWindowLongA(edit, GWL_STYLE) & ES_MULTILINE) NotifyParent(edit, EN_CHANGE);
  return true;
}

std::vector<std::string> ListItems(HWND window, const std::string& textOrId) {
  std::vector<std::string> items;
  HWND list = FindTarget(window, textOrId, ClassFilter::ListLike, "list or combo box");
  if (list != nullptr && !ReadItems(list, &items)) items.clear();
  return items;
}

bool SelectItem(HWND window, const std::string& textOrId, const std::string& itemText) {
  HWND list = FindTarget(window, textOrId, ClassFilter::ListLike, "list or combo box");
  if (list == nullptr || !CheckUsable(list, textOrId)) return false;
  std::vector<std::string> items;
  if (!ReadItems(list, &items)) return false;
  int index = FindItemIndex(items, itemText);
  if (index < 0) {
    return Fail("no item " + Quote(itemText) + " in " + Quote(textOrId) + " (items: " + JoinQuoted(items) + ")");
  }
  DWORD_PTR result = 0;
  if (IsCombo(list)) {
    if (!SendWithTimeout(list, CB_SETCURSEL, index, 0, &result) || static_cast<int>(result) != index) {
      return Fail("combo box " + Quote(textOrId) + " did not select " + Quote(itemText));
    }
    NotifyParent(list, CBN_SELCHANGE);
    return true;
  }
  LONG style = GetWindowLongA(list, GWL_STYLE);
  bool multiple = (style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
  bool ok = multiple ? SendWithTimeout(list, LB_SETSEL, TRUE, index, &result) && static_cast<LRESULT>(result) != LB_ERR
                     : SendWithTimeout(list, LB_SETCURSEL, index, 0, &result) && static_cast<int>(result) == index;
  if (!ok) return Fail("list box " + Quote(textOrId) + " did not select " + Quote(itemText));
  if (style & LBS_NOTIFY) NotifyParent(list, LBN_SELCHANGE);
  return true;
}

}  // namespace winrobot
