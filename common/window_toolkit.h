// The small window toolkit of the installer's and the uninstaller's own windows (language
// dialog, preparation and export windows, the wizard, the progress windows): register a
// class, make a centred top-level window, add controls with a font, read a list's choice.
// Control identifiers come from common/control_ids.h.
#pragma once

#include <windows.h>

#include <string>

namespace corvalis {

// Layouts are written in pixels of a 96 DPI display (100 %); the toolkit places and sizes
// what it makes by the display's DPI (both programs declare themselves DPI-aware).
constexpr int kBaseDpi = 96;
// The DPI layouts are made for: the system's until a window moves to a display of another.
int LayoutDpi();
void SetLayoutDpi(int dpi);
// A length of a 96 DPI layout at LayoutDpi().
int Scaled(int length);
// The dialog font (8 pt "MS Shell Dlg") at LayoutDpi(); made once per DPI.
HFONT DialogFont();
constexpr UINT kDpiChangedMessage = 0x02E0;  // WM_DPICHANGED, Windows 8.1 and later
// WM_DPICHANGED: the window takes the rectangle the system suggests, and each control its
// place, size and font at the new DPI (a picture control stretches its bitmap).
void FollowDpiChange(HWND window, WPARAM wParam, LPARAM lParam);

// The size the control's text takes in its font: one line, or wrapped to wrapWidth when
// that is above 0.
SIZE TextSize(HWND control, const std::string& text, int wrapWidth = 0);

// Registers a window class of this module with the button-face background and the
// arrow cursor, once per name; later calls with the same name do nothing. True when the
// class is (now) registered.
bool RegisterWindowClass(const char* className, WNDPROC procedure, HICON icon);

// A top-level window of that class whose client area is clientWidth x clientHeight (scaled),
// centred on the screen, not yet shown. userData lands in GWLP_USERDATA as soon as the
// window exists: messages sent during its creation see nullptr.
HWND CreateCentredWindow(const char* className, const char* title, DWORD style, DWORD exStyle,
                         int clientWidth, int clientHeight, void* userData = nullptr);

// The value CreateCentredWindow stored for window (nullptr when none).
template <typename T>
T* WindowUserData(HWND window) {
  return reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// A visible child control at (x, y) with that size (scaled) and identifier; font nullptr
// means DialogFont().
HWND AddControl(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                int width, int height, int id, HFONT font = nullptr);

// A static control showing icon (32 x 32, scaled); the system's application icon when icon
// is null.
HWND AddIcon(HWND parent, HICON icon, int x, int y, int id);

// Makes the common-control classes in `classes` (ICC_* bits) available. comctl32 is no
// known system DLL: it comes from the system folder by full path, never from beside the
// program. Without it those controls are simply missing.
void InitCommonControlClasses(DWORD classes);

// Shows and paints window at once.
void ShowNow(HWND window);

// A window's or control's whole text.
std::string ControlText(HWND control);

// Adds extended styles (borders such as WS_EX_CLIENTEDGE) to a control made by AddControl.
void AddExStyle(HWND control, DWORD exStyle);

// The text of a combo box's selected item; empty when none is selected.
std::string SelectedComboText(HWND comboBox);

// A progress bar (a common control) running from 0 to range.
HWND AddProgressBar(HWND parent, int x, int y, int width, int height, int id, int range);

// The small progress window of both programs (the installer's preparation, the
// uninstaller's removal), laid out here once: the icon and the text at the top, the bar
// and the button below. Each control is null when it couldn't be made; window is null
// when the window couldn't.
struct SmallProgressWindow {
  HWND window = nullptr;
  HWND bar = nullptr;
  HWND button = nullptr;
};
SmallProgressWindow OpenSmallProgressWindow(const char* className, const char* title, DWORD style, HICON icon,
                                            const char* text, int textHeight, int textId, const char* buttonText,
                                            int buttonId, int barId, int barRange);

// Visible and enabled: a button that may act on a click or a key.
bool IsUsable(HWND control);

// Cancel during long work on the window's own thread, which reads no events meanwhile:
// takes one pending event without waiting and tells whether there was a click on the
// usable cancel button, either that event or one the window procedure was told of while
// the event was taken (it sets *notified; the flag is cleared here). Paint requests are
// served, since they stay queued until then and would hide every later click; any other
// event is dropped.
bool TakeCancelClick(HWND window, HWND cancelButton, bool* notified);

}  // namespace corvalis
