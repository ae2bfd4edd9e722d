// The small window toolkit of the installer's and the uninstaller's own windows (language
// dialog, preparation and export windows, the wizard, the progress windows): register a
// class, make a centred top-level window, add controls with a font, read a list's choice.
// Control identifiers come from common/control_ids.h.
#pragma once

#include <windows.h>

#include <string>

namespace corvalis {

// Registers a window class of this module with the button-face background and the
// arrow cursor, once per name; later calls with the same name do nothing. True when the
// class is (now) registered.
bool RegisterWindowClass(const char* className, WNDPROC procedure, HICON icon);

// A top-level window of that class whose client area is clientWidth x clientHeight,
// centred on the screen, not yet shown. userData lands in GWLP_USERDATA as soon as the
// window exists: messages sent during its creation see nullptr.
HWND CreateCentredWindow(const char* className, const char* title, DWORD style, DWORD exStyle,
                         int clientWidth, int clientHeight, void* userData = nullptr);

// The value CreateCentredWindow stored for window (nullptr when none).
template <typename T>
T* WindowUserData(HWND window) {
  return reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// A visible child control at (x, y) with that size and identifier; font nullptr means
// the system's default GUI font.
HWND AddControl(HWND parent, const char* className, const char* text, DWORD style, int x, int y,
                int width, int height, int id, HFONT font = nullptr);

// A static control showing icon (32 x 32); the system's application icon when icon is null.
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
