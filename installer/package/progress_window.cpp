#include "installer/package/progress_window.h"

#include <commctrl.h>

#include "common/control_ids.h"
#include "common/window_toolkit.h"
#include "installer/package/messages.h"
#include "installer/startup_resources.h"

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
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND MakeCentredWindow(const char* title, DWORD style, int clientWidth, int clientHeight) {
  static bool controlsReady = false;
  if (!controlsReady) {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    controlsReady = true;
  }
  RegisterWindowClass(kWindowClass, ProgressProc, static_cast<HICON>(StartupImage(0)));
  return CreateCentredWindow(kWindowClass, title, style, 0, clientWidth, clientHeight);
}

HWND AddProgressBar(HWND parent, int x, int y, int width, int height) {
  HWND bar = AddControl(parent, PROGRESS_CLASSA, "", 0, x, y, width, height, kIdProgressBar);
  SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
  return bar;
}

}  // namespace

ProgressWindow OpenPreparationWindow() {
  ProgressWindow progress;
  progress.window = MakeCentredWindow(kPreparingTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 377, 118);
  AddIcon(progress.window, static_cast<HICON>(StartupImage(0)), 5, 10, kIdNone);
  AddControl(progress.window, "STATIC", kPreparingText, SS_LEFT, 45, 10, 325, 15, kIdNone);
  progress.cancelButton = AddControl(progress.window, "BUTTON", kCancelButtonText, BS_PUSHBUTTON | WS_TABSTOP,
                                     295, 85, 75, 25, kIdCancel);
  progress.progressBar = AddProgressBar(progress.window, 8, 90, 275, 15);
  ShowNow(progress.window);
  return progress;
}

ProgressWindow OpenExportWindow() {
  ProgressWindow progress;
  progress.window = MakeCentredWindow(kExportTitle, WS_OVERLAPPED | WS_CAPTION, 348, 58);
  progress.progressBar = AddProgressBar(progress.window, 5, 5, 335, 15);
  progress.cancelButton = AddControl(progress.window, "BUTTON", kCancelButtonText, BS_PUSHBUTTON | WS_TABSTOP,
                                     245, 30, 95, 20, kIdCancel);
  ShowNow(progress.window);
  return progress;
}

void CloseProgressWindow(ProgressWindow* progress) {
  if (progress->window) DestroyWindow(progress->window);
  *progress = ProgressWindow();
}

bool StepProgressWindow(const ProgressWindow& progress, int percent) {
  SendMessageA(progress.progressBar, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
  cancelNotified = false;
  bool clicked = false;
  MSG event;
  if (PeekMessageA(&event, nullptr, 0, 0, PM_REMOVE)) {
    bool onButton = event.hwnd == progress.cancelButton &&
                    (event.message == WM_LBUTTONDOWN || event.message == WM_LBUTTONUP || event.message == BM_CLICK);
    bool notified = event.hwnd == progress.window && event.message == WM_COMMAND &&
                    LOWORD(event.wParam) == kIdCancel && HIWORD(event.wParam) == BN_CLICKED;
    if (onButton || notified) {
      clicked = true;
    } else if (event.message == WM_PAINT) {
      // Paint requests stay queued until served; leaving them would hide every later click.
      DispatchMessageA(&event);
    }
  }
  return clicked || cancelNotified;
}

void ShowPackageError(HWND owner, const char* text) {
  MessageBoxA(owner, text, kErrorTitle, MB_OK | MB_ICONSTOP);
}

}  // namespace corvalis
