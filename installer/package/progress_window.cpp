#include "installer/package/progress_window.h"

#include <commctrl.h>

#include "common/system_dlls.h"
#include "installer/package/messages.h"
#include "installer/package/startup_resources.h"

namespace corvalis {

namespace {

constexpr char kWindowClass[] = "CorvalisPackageProgress";
constexpr int kCancelId = 2;

// A click that reaches the window procedure while the event is taken (a sent BM_CLICK,
// the keyboard) rather than as a posted mouse message.
bool cancelNotified = false;

LRESULT CALLBACK ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (LOWORD(wParam) == kCancelId && HIWORD(wParam) == BN_CLICKED) cancelNotified = true;
      return 0;
    case WM_CLOSE:
      return 0;  // the window ends with the copy, not before
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void RegisterOnce() {
  static bool registered = false;
  if (registered) return;
  // comctl32 is no known system DLL: a copy planted beside the package would otherwise
  // run with our rights. Without it the window still works, only without its bar.
  using InitControlsFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
  if (auto initControls = SystemFunction<InitControlsFn>("comctl32.dll", "InitCommonControlsEx")) initControls(&controls);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = ProgressProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.hIcon = static_cast<HICON>(StartupImage(0));
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);
  registered = true;
}

HWND MakeCentredWindow(const char* title, DWORD style, int clientWidth, int clientHeight) {
  RegisterOnce();
  RECT frame = {0, 0, clientWidth, clientHeight};
  AdjustWindowRect(&frame, style, FALSE);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  return CreateWindowExA(0, kWindowClass, title, style, x, y, width, height, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

HWND AddControl(HWND parent, const char* windowClass, const char* text, DWORD style, int x, int y,
                int width, int height, int id = 0) {
  HWND control = CreateWindowExA(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return control;
}

HWND AddProgressBar(HWND parent, int x, int y, int width, int height) {
  HWND bar = AddControl(parent, PROGRESS_CLASSA, "", 0, x, y, width, height);
  SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
  return bar;
}

void Show(HWND window) {
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
}

}  // namespace

ProgressWindow OpenPreparationWindow() {
  ProgressWindow progress;
  progress.window = MakeCentredWindow(kPreparingTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 377, 118);
  HWND icon = AddControl(progress.window, "STATIC", "", SS_ICON, 5, 10, 32, 32);
  if (StartupImage(0)) SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(StartupImage(0)), 0);
  AddControl(progress.window, "STATIC", kPreparingText, SS_LEFT, 45, 10, 325, 15);
  progress.cancelButton = AddControl(progress.window, "BUTTON", kCancelButtonText, BS_PUSHBUTTON | WS_TABSTOP,
                                     295, 85, 75, 25, kCancelId);
  progress.progressBar = AddProgressBar(progress.window, 8, 90, 275, 15);
  Show(progress.window);
  return progress;
}

ProgressWindow OpenExportWindow() {
  ProgressWindow progress;
  progress.window = MakeCentredWindow(kExportTitle, WS_OVERLAPPED | WS_CAPTION, 348, 58);
  progress.progressBar = AddProgressBar(progress.window, 5, 5, 335, 15);
  progress.cancelButton = AddControl(progress.window, "BUTTON", kCancelButtonText, BS_PUSHBUTTON | WS_TABSTOP,
                                     245, 30, 95, 20, kCancelId);
  Show(progress.window);
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
                    LOWORD(event.wParam) == kCancelId && HIWORD(event.wParam) == BN_CLICKED;
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
