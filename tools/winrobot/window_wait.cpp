#include <vector>

#include "tools/winrobot/robot_internal.h"
#include "tools/winrobot/winrobot.h"

namespace winrobot {
namespace {

HWND MessageTextControl(HWND box) {
  // The Static with id 0xFFFF (-1 in a 16-bit dialog template) carries the text.
  ControlRef ref;
  ref.byId = true;
  ref.id = -1;
  return FindChild(box, ref, ClassFilter::Static);
}

struct TopLevelQuery {
  DWORD pid = 0;  // 0: any process
  const std::string* title = nullptr;  // nullptr: any title
  bool messageBoxOnly = false;
  HWND found = nullptr;
};

struct BoxShape {
  int buttons = 0;
  bool foreign = false;
};

BOOL CALLBACK InspectBoxChild(HWND child, LPARAM context) {
  BoxShape* shape = reinterpret_cast<BoxShape*>(context);
  int id = ControlId(child);
  if (IsClass(child, "Button") && id >= IDOK && id <= IDCONTINUE) {
    ++shape->buttons;
  } else if (!IsClass(child, "Static")) {
    shape->foreign = true;
  }
  return TRUE;
}

// A dialog of labels whose Static happens to have id -1 (IDC_STATIC) is told apart
// by its other controls: a message box has only its text, icon and answer buttons.
bool HasMessageText(HWND box) {
  if (MessageTextControl(box) == nullptr) return false;
  BoxShape shape;
  EnumChildWindows(box, InspectBoxChild, reinterpret_cast<LPARAM>(&shape));
  return shape.buttons > 0 && !shape.foreign;
}

BOOL CALLBACK MatchTopLevel(HWND w, LPARAM context) {
  TopLevelQuery* query = reinterpret_cast<TopLevelQuery*>(context);
  if (!IsWindowVisible(w)) return TRUE;
  if (query->pid != 0) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != query->pid) return TRUE;
  }
  if (query->title != nullptr) {
    // The caption the system keeps: no message to a program that may be busy.
    char caption[1024] = "";
    int length = GetWindowTextA(w, caption, sizeof caption);
    if (std::string(caption, length > 0 ? length : 0) != *query->title) return TRUE;
  }
  if (query->messageBoxOnly && !(IsClass(w, "#32770") && HasMessageText(w))) return TRUE;
  query->found = w;
  return FALSE;
}

HWND WaitForTopLevel(TopLevelQuery query, int timeoutMs, const std::string& what) {
  ClearError();
  std::string reason = "no " + what;
  if (query.title != nullptr) reason += " titled " + Quote(*query.title);
  if (query.pid != 0) reason += " of process " + std::to_string(query.pid);
  // A program that ended won't show its window; say so at once instead of timing out.
  HANDLE process = query.pid != 0 ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, query.pid) : nullptr;
  DWORD start = GetTickCount();
  for (;;) {
    query.found = nullptr;
    EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&query));
    if (query.found != nullptr) break;
    if (process != nullptr && WaitForSingleObject(process, 0) == WAIT_OBJECT_0) {
      DWORD exitCode = 0;
      GetExitCodeProcess(process, &exitCode);
      Fail(reason + ": the process ended with exit code " + std::to_string(exitCode));
      break;
    }
    if (GetTickCount() - start >= static_cast<DWORD>(timeoutMs)) {
      Fail(reason + " within " + std::to_string(timeoutMs) + " ms");
      break;
    }
    Sleep(kPollIntervalMs);
  }
  if (process != nullptr) CloseHandle(process);
  return query.found;
}

}  // namespace

HWND WaitForWindow(const std::string& exactTitle, int timeoutMs) {
  TopLevelQuery query;
  query.title = &exactTitle;
  return WaitForTopLevel(query, timeoutMs, "visible window");
}

HWND WaitForWindowOfProcess(DWORD pid, const std::string& exactTitle, int timeoutMs) {
  TopLevelQuery query;
  query.pid = pid;
  query.title = exactTitle.empty() ? nullptr : &exactTitle;
  return WaitForTopLevel(query, timeoutMs, "visible window");
}

HWND WaitForMessageBox(DWORD pid, const std::string& exactTitle, int timeoutMs) {
  TopLevelQuery query;
  query.pid = pid;
  query.title = exactTitle.empty() ? nullptr : &exactTitle;
  query.messageBoxOnly = true;
  return WaitForTopLevel(query, timeoutMs, "message box");
}

bool WaitForWindowGone(HWND w, int timeoutMs) {
  ClearError();
  DWORD start = GetTickCount();
  for (;;) {
    if (!IsWindow(w) || !IsWindowVisible(w)) return true;
    if (GetTickCount() - start >= static_cast<DWORD>(timeoutMs)) break;
    Sleep(kPollIntervalMs);
  }
  return Fail(Describe(w) + " is still open after " + std::to_string(timeoutMs) + " ms");
}

std::string MessageBoxText(HWND box) {
  ClearError();
  if (!IsWindow(box)) {
    Fail("the message box is gone");
    return "";
  }
  HWND text = MessageTextControl(box);
  if (text == nullptr) {
    Fail(Describe(box) + " is not a standard message box");
    return "";
  }
  return ReadText(text, nullptr);
}

bool AnswerMessageBox(HWND box, const std::string& buttonText) {
  ClearError();
  if (!IsWindow(box)) return Fail("the message box is gone");
  ControlRef ref = ParseControlRef(buttonText);
  HWND button = FindChild(box, ref, ClassFilter::Button);
  if (button == nullptr || !IsWindowVisible(button)) {
    std::string offered;
    for (const ControlInfo& control : ListControls(box)) {
      if (IsClass(control.hwnd, "Button") && control.visible) {
        offered += (offered.empty() ? "" : ", ") + Quote(StripMnemonic(control.text));
      }
    }
    return Fail("no button " + Quote(buttonText) + " in " + Describe(box) + " (buttons: " +
                (offered.empty() ? "none" : offered) + ")");
  }
  if (!IsWindowEnabled(button)) return Fail("button " + Quote(buttonText) + " is disabled");
  // The box's own notification ends its modal loop even when it isn't the active window.
  NotifyParent(button, BN_CLICKED);
  return true;
}

}  // namespace winrobot
