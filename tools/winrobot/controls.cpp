#include <vector>

#include "tools/winrobot/robot_internal.h"
#include "tools/winrobot/winrobot.h"

namespace winrobot {
namespace {

BOOL CALLBACK CollectChild(HWND child, LPARAM context) {
  reinterpret_cast<std::vector<HWND>*>(context)->push_back(child);
  return TRUE;
}

std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

LONG ButtonType(HWND button) { return GetWindowLongA(button, GWL_STYLE) & BS_TYPEMASK; }

}  // namespace

bool IsCheckable(HWND button) {
  if (!IsClass(button, "Button")) return false;
  switch (ButtonType(button)) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return true;
    default:
      return false;
  }
}

bool IsPushButton(HWND button) {
  if (!IsClass(button, "Button")) return false;
  LONG type = ButtonType(button);
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
}

bool PassesFilter(HWND w, ClassFilter filter) {
  switch (filter) {
    case ClassFilter::Any:
      return true;
    case ClassFilter::Button:
      return IsClass(w, "Button");
    case ClassFilter::Static:
      return IsClass(w, "Static");
    case ClassFilter::EditLike: {
      std::string name = ClassOf(w);
      return lstrcmpiA(name.c_str(), "Edit") == 0 || lstrcmpiA(name.substr(0, 8).c_str(), "RichEdit") == 0;
    }
    case ClassFilter::ListLike:
      return IsClass(w, "ComboBox") || IsClass(w, "ListBox");
  }
  return false;
}

std::vector<ControlInfo> ListControls(HWND window) {
  ClearError();
  std::vector<ControlInfo> controls;
  if (!IsWindow(window)) {
    Fail("the window is gone");
    return controls;
  }
  bool responsive = true;
  for (HWND child : Descendants(window)) {
    ControlInfo info;
    info.hwnd = child;
    info.className = ClassOf(child);
    info.id = ControlId(child);
    info.text = ReadText(child, &responsive);
    info.visible = IsWindowVisible(child) != FALSE;
    info.enabled = IsWindowEnabled(child) != FALSE;
    info.checked = false;
    DWORD_PTR state = 0;
    if (responsive && IsCheckable(child)) {
      responsive = SendWithTimeout(child, BM_GETCHECK, 0, 0, &state);
      info.checked = responsive && state == BST_CHECKED;
    }
    controls.push_back(info);
  }
  if (!responsive) Fail(Describe(window) + " does not answer messages; texts may be stale");
  return controls;
}

HWND FindChild(HWND window, const ControlRef& ref, ClassFilter filter) {
  HWND hiddenMatch = nullptr;
  bool responsive = true;
  for (HWND child : Descendants(window)) {
    if (!PassesFilter(child, filter)) continue;
    std::string text = ref.byId ? std::string() : ReadText(child, &responsive);
    if (!MatchesControl(ref, text, ControlId(child))) continue;
    if (IsWindowVisible(child)) return child;
    if (hiddenMatch == nullptr) hiddenMatch = child;
  }
  return hiddenMatch;
}

HWND FindControl(HWND window, const std::string& textOrId) {
  ClearError();
  if (!IsWindow(window)) {
    Fail("the window is gone");
    return nullptr;
  }
  HWND control = FindChild(window, ParseControlRef(textOrId), ClassFilter::Any);
  if (control == nullptr) Fail("no control " + Quote(textOrId) + " in " + Describe(window));
  return control;
}

HWND WaitForControl(HWND window, const std::string& textOrId, int timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND control = FindControl(window, textOrId);
    if (control != nullptr && CheckUsable(control, textOrId)) {
      ClearError();
      return control;
    }
    if (!IsWindow(window)) return nullptr;
    if (GetTickCount() - start >= static_cast<DWORD>(timeoutMs)) {
      Fail(LastError() + " (waited " + std::to_string(timeoutMs) + " ms)");
      return nullptr;
    }
    Sleep(kPollIntervalMs);
  }
}

HWND FindTarget(HWND window, const std::string& textOrId, ClassFilter filter, const char* kind) {
  ClearError();
  if (!IsWindow(window)) {
    Fail("the window is gone");
    return nullptr;
  }
  ControlRef ref = ParseControlRef(textOrId);
  HWND control = FindChild(window, ref, filter);
  if (control == nullptr && filter != ClassFilter::Any && filter != ClassFilter::Static) {
    // Dialogs put a field's label right before the field, as its mnemonic relies on.
    HWND label = FindChild(window, ref, ClassFilter::Static);
    HWND next = label != nullptr ? GetWindow(label, GW_HWNDNEXT) : nullptr;
    if (next != nullptr && PassesFilter(next, filter)) control = next;
  }
  if (control == nullptr) {
    HWND other = FindChild(window, ref, ClassFilter::Any);
    if (other != nullptr) {
      Fail("control " + Quote(textOrId) + " in " + Describe(window) + " is a " + ClassOf(other) + ", not " + kind);
    } else {
      Fail("no " + std::string(kind) + " " + Quote(textOrId) + " in " + Describe(window));
    }
  }
  return control;
}

bool CheckUsable(HWND control, const std::string& textOrId) {
  if (!IsWindow(control)) return Fail("control " + Quote(textOrId) + " is gone");
  if (!IsWindowVisible(control)) return Fail("control " + Quote(textOrId) + " is hidden");
  if (!IsWindowEnabled(control)) return Fail("control " + Quote(textOrId) + " is disabled");
  for (HWND parent = GetParent(control); parent != nullptr; parent = GetParent(parent)) {
    if (!IsWindowEnabled(parent)) {
      return Fail(Describe(parent) + " is disabled (is a modal dialog open?), so " + Quote(textOrId) +
                  " can't be used");
    }
    if ((GetWindowLongA(parent, GWL_STYLE) & WS_CHILD) == 0) break;
  }
  return true;
}

void NotifyParent(HWND control, WORD code) {
  HWND parent = GetParent(control);
  if (parent == nullptr) return;
  PostMessageA(parent, WM_COMMAND, MAKEWPARAM(ControlId(control) & 0xFFFF, code), reinterpret_cast<LPARAM>(control));
}

}  // namespace winrobot
