#pragma once
// Shared pieces of the robot's Win32 side.
#include <windows.h>

#include <string>
#include <vector>

#include "tools/winrobot/control_ref.h"

namespace winrobot {

// Long enough for a busy emulated Wine program, short enough that a hung one is noticed.
constexpr UINT kMessageTimeoutMs = 2000;
constexpr DWORD kPollIntervalMs = 25;

bool Fail(const std::string& reason);  // records the reason for LastError(), returns false
void ClearError();

// A message to another process that gives up instead of blocking. With a buffer, the
// message's lParam points at a copy of it, copied back on success; wide sends the "W"
// form of the message.
bool SendWithTimeout(HWND w, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result,
                     std::vector<char>* buffer = nullptr, bool wide = false);
// The text through WM_GETTEXT; when the owner doesn't answer, the caption kept by the
// system, and *responsive turns false so callers stop asking.
std::string ReadText(HWND w, bool* responsive);
std::string ClassOf(HWND w);
bool IsClass(HWND w, const char* className);  // ignoring case
int ControlId(HWND w);
std::string Quote(const std::string& text);
std::string Describe(HWND w);  // the window's title in quotes, for messages

bool IsCheckable(HWND button);
bool IsPushButton(HWND button);

enum class ClassFilter { Any, Button, Static, EditLike, ListLike };
bool PassesFilter(HWND w, ClassFilter filter);
// First match in Z order, visible ones before hidden ones; nullptr when none.
HWND FindChild(HWND window, const ControlRef& ref, ClassFilter filter);
// The control to act on: matched directly or through its label.
HWND FindTarget(HWND window, const std::string& textOrId, ClassFilter filter, const char* kind);
// Visible, enabled and not under a modal dialog; records the reason otherwise.
bool CheckUsable(HWND control, const std::string& textOrId);

// Posts the notification a control sends to its parent when the user changes it.
void NotifyParent(HWND control, WORD code);

}  // namespace winrobot
