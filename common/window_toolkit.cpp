#include "common/window_toolkit.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "common/control_ids.h"
#include "common/system_dlls.h"

namespace corvalis {

namespace {

int layoutDpi = 0;

HFONT FontFor(int points, int dpi) {
  return CreateFontA(-MulDiv(points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                     "MS Shell Dlg");
}

struct DpiChange {
  int from, to;
  std::vector<std::pair<HFONT, HFONT>> fonts;  // (old, made for the new DPI): one per old font
};

BOOL CALLBACK RescaleControl(HWND control, LPARAM lParam) {
  DpiChange& change = *reinterpret_cast<DpiChange*>(lParam);
  RECT place = {};
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
  const auto scale = [&change](LONG length) { return MulDiv(length, change.to, change.from); };
  SetWindowPos(control, nullptr, scale(place.left), scale(place.top), scale(place.right - place.left),
               scale(place.bottom - place.top), SWP_NOZORDER | SWP_NOACTIVATE);
  const HFONT old = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  if (!old) return TRUE;
  HFONT made = nullptr;
  for (const auto& font : change.fonts) {
    if (font.first == old) made = font.second;
  }
  LOGFONTA font = {};
  if (!made && GetObjectA(old, sizeof font, &font)) {
    font.lfHeight = scale(font.lfHeight);
    made = CreateFontIndirectA(&font);
    change.fonts.emplace_back(old, made);
  }
  // The old fonts stay: the program's start-up fonts are among them.
  if (made) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(made), TRUE);
  return TRUE;
}

}  // namespace

int LayoutDpi() {
  if (layoutDpi == 0) {
    HDC screen = GetDC(nullptr);
    layoutDpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
    if (screen) ReleaseDC(nullptr, screen);
    if (layoutDpi <= 0) layoutDpi = kBaseDpi;
  }
  return layoutDpi;
}

void SetLayoutDpi(int dpi) { layoutDpi = dpi > 0 ? dpi : kBaseDpi; }

int Scaled(int length) { return MulDiv(length, LayoutDpi(), kBaseDpi); }

HFONT DialogFont() {
  static HFONT font = nullptr;
  static int fontDpi = 0;
  if (!font || fontDpi != LayoutDpi()) {
    fontDpi = LayoutDpi();
    font = FontFor(8, fontDpi);
  }
  return font;
}

void FollowDpiChange(HWND window, WPARAM wParam, LPARAM lParam) {
  DpiChange change = {LayoutDpi(), HIWORD(wParam), {}};
  if (change.to <= 0 || change.to == change.from) return;
  SetLayoutDpi(change.to);
  const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  EnumChildWindows(window, RescaleControl, reinterpret_cast<LPARAM>(&change));
  InvalidateRect(window, nullptr, TRUE);
}

SIZE TextSize(HWND control, const std::string& text, int wrapWidth) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
  RECT box = {0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
  DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &box,
            DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (wrapWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return SIZE{box.right - box.left, box.bottom - box.top};
}

bool RegisterWindowClass(const char* className, WNDPROC procedure, HICON icon) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA existing = {};
  if (GetClassInfoA(instance, className, &existing)) return true;
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = className;
  return RegisterClassA(&windowClass) != 0;
}

HWND CreateCentredWindow(const char* className, const char* title, DWORD style, DWORD exStyle,
                         int clientWidth, int clientHeight, void* userData) {
  RECT frame = {0, 0, Scaled(clientWidth), Scaled(clientHeight)};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  HWND window = CreateWindowExA(exStyle, className, title, style,
                                (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window && userData) SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(userData));
  return window;
}

HWND AddControl(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                int width, int height, int id, HFONT font) {
  HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, Scaled(x), Scaled(y),
                                 Scaled(width), Scaled(height), parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  if (!font) font = DialogFont();
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return control;
}

HWND AddIcon(HWND parent, HICON icon, int x, int y, int id) {
  HWND control = AddControl(parent, "STATIC", "", SS_ICON, x, y, 32, 32, id);
  if (!icon) icon = LoadIconA(nullptr, IDI_APPLICATION);
  SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  return control;
}

void InitCommonControlClasses(DWORD classes) {
  using InitControlsFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  static const auto initControls = SystemFunction<InitControlsFn>("comctl32.dll", "InitCommonControlsEx");
  INITCOMMONCONTROLSEX controls = {sizeof(controls), classes};
  if (initControls) initControls(&controls);
}

void ShowNow(HWND window) {
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
}

std::string ControlText(HWND control) {
  const int length = GetWindowTextLengthA(control);
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(control, &text[0], length + 1);
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return text;
}

void AddExStyle(HWND control, DWORD exStyle) {
  SetWindowLongA(control, GWL_EXSTYLE, GetWindowLongA(control, GWL_EXSTYLE) | static_cast<LONG>(exStyle));
  SetWindowPos(control, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

std::string SelectedComboText(HWND comboBox) {
  const LRESULT index = SendMessageA(comboBox, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return std::string();
  const LRESULT length = SendMessageA(comboBox, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(comboBox, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

HWND AddProgressBar(HWND parent, int x, int y, int width, int height, int id, int range) {
  HWND bar = AddControl(parent, PROGRESS_CLASSA, "", 0, x, y, width, height, id);
  SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, range));
  return bar;
}

bool IsUsable(HWND control) { return control && IsWindowVisible(control) && IsWindowEnabled(control); }

bool TakeCancelClick(HWND window, HWND cancelButton, bool* notified) {
  bool clicked = false;
  MSG event;
  if (PeekMessageA(&event, nullptr, 0, 0, PM_REMOVE)) {
    const bool onButton =
        event.hwnd == cancelButton && (event.message == WM_LBUTTONUP || event.message == BM_CLICK);
    const bool announced = event.hwnd == window && event.message == WM_COMMAND &&
                           LOWORD(event.wParam) == GetDlgCtrlID(cancelButton) && HIWORD(event.wParam) == BN_CLICKED;
    clicked = onButton || announced;
    if (event.message == WM_PAINT) DispatchMessageA(&event);
  }
  // Read after the event: taking it delivers what other threads sent meanwhile.
  clicked = clicked || *notified;
  *notified = false;
  return clicked && IsUsable(cancelButton);
}

SmallProgressWindow OpenSmallProgressWindow(const char* className, const char* title, DWORD style, HICON icon,
                                            const char* text, int textHeight, int textId, const char* buttonText,
                                            int buttonId, int barId, int barRange) {
  constexpr int kWidth = 377, kHeight = 118;
  SmallProgressWindow progress;
  progress.window = CreateCentredWindow(className, title, style, 0, kWidth, kHeight);
  if (!progress.window) return progress;
  AddIcon(progress.window, icon, 5, 10, kIdNone);
  AddControl(progress.window, "STATIC", text, SS_LEFT, 45, 10, 325, textHeight, textId);
  progress.button =
      AddControl(progress.window, "BUTTON", buttonText, BS_PUSHBUTTON | WS_TABSTOP, 295, 85, 75, 25, buttonId);
  progress.bar = AddProgressBar(progress.window, 8, 90, 275, 15, barId, barRange);
  return progress;
}

}  // namespace corvalis
