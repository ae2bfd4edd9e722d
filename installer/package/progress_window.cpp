#include "installer/package/progress_window.h"

#include <commctrl.h>

#include "common/control_ids.h"
#include "common/message_box.h"
#include "common/run_mode.h"
#include "common/window_toolkit.h"
#include "installer/package/messages.h"
#include "installer/startup/startup_resources.h"

namespace corvalis {

namespace {

constexpr char kWindowClass[] = "CorvalisPackageProgress";

// A click that reaches the window procedure while the event is taken (a sent BM_CLICK,
// the keyboard) rather than as a posted mouse message.
bool cancelNotified = false;

LRESULT CALLBACK ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kIdCancel && HIWORD(wParam) == BN_CLICKED) cancelNotified = true;
      return 0;
    case WM_CLOSE:
      return 0;  // the window ends with the copy, not before
    case kDpiChangedMessage:
      FollowDpiChange(window, wParam, lParam);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void RegisterProgressClass() {
  InitCommonControlClasses(ICC_PROGRESS_CLASS);
  RegisterWindowClass(kWindowClass, ProgressProc, static_cast<HICON>(StartupImage(kProgramIcon)));
}

}  // namespace

ProgressWindow OpenPreparationWindow() {
  ProgressWindow progress;
  if (CurrentRunMode() == RunMode::VerySilent) return progress;
  RegisterProgressClass();
  const SmallProgressWindow made =
      OpenSmallProgressWindow(kWindowClass, kPreparingTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                              static_cast<HICON>(StartupImage(kProgramIcon)), kPreparingText, 15, kIdNone,
                              kCancelButtonText, kIdCancel, kIdProgressBar, 100);
  progress.window = made.window;
  progress.cancelButton = made.button;
  progress.progressBar = made.bar;
  // A silent run asks nothing, so it can't be cancelled.
  if (IsSilentRun()) EnableWindow(progress.cancelButton, FALSE);
  ShowNow(progress.window);
  return progress;
}

ProgressWindow OpenExportWindow() {
  ProgressWindow progress;
  if (CurrentRunMode() == RunMode::VerySilent) return progress;
  RegisterProgressClass();
  progress.window = CreateCentredWindow(kWindowClass, kExportTitle, WS_OVERLAPPED | WS_CAPTION, 0, 348, 58);
  progress.progressBar = AddProgressBar(progress.window, 5, 5, 335, 15, kIdProgressBar, 100);
  progress.cancelButton = AddControl(progress.window, "BUTTON", kCancelButtonText, BS_PUSHBUTTON | WS_TABSTOP,
                                     245, 30, 95, 20, kIdCancel);
  if (IsSilentRun()) EnableWindow(progress.cancelButton, FALSE);
  ShowNow(progress.window);
  return progress;
}

void CloseProgressWindow(ProgressWindow* progress) {
  if (progress->window) DestroyWindow(progress->window);
  *progress = ProgressWindow();
}

bool StepProgressWindow(const ProgressWindow& progress, int percent) {
  SendMessageA(progress.progressBar, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
  return TakeCancelClick(progress.window, progress.cancelButton, &cancelNotified);
}

void ShowPackageError(HWND owner, const char* text) {
  ShowMessageBox(owner, text, kErrorTitle, MB_OK | MB_ICONSTOP);
}

}  // namespace corvalis
