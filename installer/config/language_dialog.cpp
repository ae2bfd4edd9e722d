// The language selection dialog, shown before anything else when the package
// holds more than one language. Its texts are fixed English: no language is loaded.
#include <windows.h>

#include "common/control_ids.h"
#include "common/exit_codes.h"
#include "common/message_box.h"
#include "common/run_log.h"
#include "common/run_mode.h"
#include "common/start_messages.h"
#include "common/window_toolkit.h"
#include "installer/config/language_selection.h"
#include "installer/config/language_texts.h"
#include "installer/startup/startup_resources.h"
#include "installer/startup/startup_texts.h"

namespace corvalis {

namespace {

constexpr char kWindowClass[] = "CorvalisLanguageSelection";
constexpr char kTitle[] = "Language selection";
constexpr char kPrompt[] =
    "Please choose your language from the list below. The installation will continue "
    "with the selected language.";
constexpr char kNoLanguageInPackageText[] = "This installer package is incomplete and/or corrupted.";

constexpr int kClientWidth = 329;
constexpr int kClientHeight = 112;
constexpr int kDropDownHeight = 160;  // the list's height when open

enum class Choice { None, Ok, Cancel };

LRESULT CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Choice* choice = WindowUserData<Choice>(window);
  switch (message) {
    case WM_COMMAND:
      if (choice && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == kIdOk) *choice = Choice::Ok;
        if (LOWORD(wParam) == kIdCancel) *choice = Choice::Cancel;
      }
      return 0;
    case WM_CLOSE:
      return 0;  // no close box: only the two buttons end the dialog
    case kDpiChangedMessage:
      FollowDpiChange(window, wParam, lParam);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND BuildDialog(Choice* choice) {
  const HICON programIcon = static_cast<HICON>(StartupImage(kProgramIcon));
  RegisterWindowClass(kWindowClass, DialogProc, programIcon);
  // A title bar, no system menu.
  HWND dialog = CreateCentredWindow(kWindowClass, kTitle, WS_OVERLAPPED | WS_CAPTION,
                                    WS_EX_CONTROLPARENT, kClientWidth, kClientHeight, choice);
  if (!dialog) return nullptr;
  AddIcon(dialog, programIcon, 8, 7, kIdNone);
  AddControl(dialog, "STATIC", kPrompt, SS_LEFT, 45, 9, 274, 38, kIdNone);
  AddControl(dialog, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 11, 55, 308,
             kDropDownHeight, kIdLanguageList);
  AddControl(dialog, "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 74, 86, 89, 22, kIdCancel);
  AddControl(dialog, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 163, 86, 89, 22, kIdOk);
  return dialog;
}

}  // namespace

Outcome ChooseLanguage(const std::vector<LanguageEntry>& languages, std::string* chosen) {
  chosen->clear();
  if (languages.empty()) {
    ShowMessageBox(nullptr, kNoLanguageInPackageText, kErrorTitle, MB_OK | MB_ICONSTOP);
    return EndRun(kExitFailure);
  }
  Choice choice = Choice::None;
  HWND dialog = BuildDialog(&choice);
  if (!dialog) return kGoOn;

  HWND list = GetDlgItem(dialog, kIdLanguageList);
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
      return kGoOn;
    }
    if (!IsDialogMessageA(dialog, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    if (choice == Choice::Cancel) {
      choice = Choice::None;
      if (ConfirmCancelBeforeLanguage(dialog)) {
        DestroyWindow(dialog);
        return EndRun(kExitCancelled);
      }
    } else if (choice == Choice::Ok) {
      break;
    }
  }

  *chosen = FindLanguagePath(languages, SelectedComboText(list));
  DestroyWindow(dialog);
  return kGoOn;
}

Outcome PickLanguage(const InstallSession& session, std::string* path) {
  const std::vector<LanguageEntry>& languages = session.Languages;
  path->clear();
  const std::string& wanted = session.Options.Language;
  if (!wanted.empty()) {
    *path = FindLanguageByName(languages, wanted);
    if (path->empty()) {
      ShowMessageBox(nullptr, kNoSuchLanguageText + wanted, kErrorTitle, MB_OK | MB_ICONSTOP);
      return EndRun(kExitInvalidCommandLine);
    }
  } else if (languages.size() == 1) {
    *path = languages.front().Path;
  } else if (IsSilentRun()) {
    const int preselected = PreselectedLanguageIndex(languages);
    if (preselected < 0) {
      ShowMessageBox(nullptr, kNoLanguageInPackageText, kErrorTitle, MB_OK | MB_ICONSTOP);
      return EndRun(kExitFailure);
    }
    *path = languages[static_cast<std::size_t>(preselected)].Path;
  } else {
    const Outcome chosen = ChooseLanguage(languages, path);
    if (chosen.Ends) return chosen;
  }
  for (const LanguageEntry& entry : languages) {
    if (entry.Path == *path) LogLine("language: " + entry.Language);
  }
  return kGoOn;
}

}  // namespace corvalis
