// The language selection dialog, shown before anything else when the package
// holds more than one language. Its texts are fixed English: no language is loaded.
#include <windows.h>

#include "installer/config/language_selection.h"
#include "installer/config/language_texts.h"
#include "installer/install_session.h"
#include "installer/package/startup_resources.h"
#include "installer/package/work_folder.h"

namespace corvalis {

namespace {

constexpr char kWindowClass[] = "CorvalisLanguageSelection";
constexpr char kTitle[] = "Language selection";
constexpr char kPrompt[] =
    "Please choose your language from the list below. The installation will continue "
    "with the selected language.";
constexpr char kConfirmTitle[] = "Please confirm";
constexpr char kConfirmText[] =
    "Are you sure you want to stop the installation now? Press 'No' to continue or 'Yes' "
    "to end this program. You can run this installer at a later time and continue the "
    "installation procedure.";
constexpr char kNoLanguageText[] = "This installer package is incomplete and/or corrupted.";

constexpr int kClientWidth = 329;
constexpr int kClientHeight = 112;
constexpr int kListId = 100;
constexpr int kDropDownHeight = 160;  // the list's height when open

enum class Choice { None, Ok, Cancel };

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* choice = reinterpret_cast<Choice*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_COMMAND:
      if (choice && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) *choice = Choice::Ok;
        if (LOWORD(wParam) == IDCANCEL) *choice = Choice::Cancel;
      }
      return 0;
    case WM_CLOSE:
      return 0;  // no close box: only the two buttons end the dialog
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND AddControl(HWND parent, const char* className, const char* text, DWORD style, int x,
                int y, int width, int height, int id) {
  HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width,
                                 height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
               FALSE);
  return control;
}

HWND BuildDialog(Choice* choice) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = DialogProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = static_cast<HICON>(StartupImage(0));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  RegisterClassA(&windowClass);  // fails harmlessly when already registered

  const DWORD style = WS_OVERLAPPED | WS_CAPTION;  // a title bar, no system menu
  RECT frame = {0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  HWND dialog = CreateWindowExA(WS_EX_CONTROLPARENT, kWindowClass, kTitle, style,
                                (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                                nullptr, nullptr, instance, nullptr);
  if (!dialog) return nullptr;
  SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(choice));

  HWND icon = AddControl(dialog, "STATIC", "", SS_ICON, 8, 7, 32, 32, -1);
  HANDLE programIcon = StartupImage(0);
  if (!programIcon) programIcon = LoadIconA(nullptr, IDI_APPLICATION);
  SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(programIcon), 0);
  AddControl(dialog, "STATIC", kPrompt, SS_LEFT, 45, 9, 274, 38, -1);
  AddControl(dialog, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 11, 55, 308,
             kDropDownHeight, kListId);
  AddControl(dialog, "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 74, 86, 89, 22, IDCANCEL);
  AddControl(dialog, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 163, 86, 89, 22, IDOK);
  return dialog;
}

std::string SelectedText(HWND list) {
  LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return std::string();
  LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

}  // namespace

std::string ChooseLanguage() {
  const std::vector<LanguageEntry>& languages = Session().Languages;
  Choice choice = Choice::None;
  HWND dialog = BuildDialog(&choice);

  if (languages.empty()) {
    if (dialog) DestroyWindow(dialog);
    MessageBoxA(nullptr, kNoLanguageText, "Error", MB_OK | MB_ICONSTOP);
    AbortInstaller();
  }
  if (!dialog) return std::string();

  HWND list = GetDlgItem(dialog, kListId);
  for (const LanguageEntry& entry : languages) {
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.Language.c_str()));
  }
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(PreselectedLanguageIndex(languages)), 0);

  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);
  SetFocus(list);

  MSG message;
  for (;;) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      DestroyWindow(dialog);
      return std::string();
    }
    if (!IsDialogMessageA(dialog, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (choice == Choice::Cancel) {
      choice = Choice::None;
      if (MessageBoxA(dialog, kConfirmText, kConfirmTitle, MB_YESNO | MB_ICONSTOP) == IDYES) {
        DestroyWindow(dialog);
        AbortInstaller();
      }
    } else if (choice == Choice::Ok) {
      break;
    }
  }

  const std::string path = FindLanguagePath(languages, SelectedText(list));
  DestroyWindow(dialog);
  return path;
}

}  // namespace corvalis
