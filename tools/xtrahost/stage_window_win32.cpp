#include "tools/xtrahost/stage_window_win32.h"

#include <windows.h>

namespace {
constexpr char kStageClass[] = "XtrahostStage";
}

void* CreateStageWindow() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DefWindowProcA;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kStageClass;
  RegisterClassA(&windowClass);  // may already exist when a test makes a second stage
  return CreateWindowExA(0, kStageClass, "Stage", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 640, 480,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void DestroyStageWindow(void* window) {
  if (window) DestroyWindow(static_cast<HWND>(window));
}
