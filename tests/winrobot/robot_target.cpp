// A small window for the robot to drive. It records what it saw as a program would:
// notifications, states and the message box's answer, written at "Finish".
//   robot_target.exe NAME REPORT-FILE  (window "Robot Target NAME", box "Robot Question NAME")
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

enum ControlIds {
  kFolderLabel = 201, kFolderEdit, kRemember, kLanguageLabel, kLanguageCombo, kColourLabel, kColourList,
  kAsk, kLocked, kFinish, kBusy, kHiddenFinish, kNotAButton
};

struct TargetState {
  std::string name;
  std::string reportPath;
  int editChanges = 0;
  int rememberClicks = 0;
  std::string language;
  std::string colour;
  int answer = 0;
};
TargetState state;

HWND AddControl(HWND parent, const char* className, const char* text, DWORD style, int x, int y, int w, int h, int id) {
  return CreateWindowExA(0, className, text, WS_CHILD | style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

std::string ItemText(HWND list, bool combo, LRESULT index) {
  char text[256] = "";
  if (index >= 0) SendMessageA(list, combo ? CB_GETLBTEXT : LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
  return text;
}

void WriteReport(HWND window) {
  char folder[512] = "";
  GetDlgItemTextA(window, kFolderEdit, folder, sizeof folder);
  FILE* report = std::fopen(state.reportPath.c_str(), "w");
  if (report == nullptr) return;
  DWORD version = GetVersion();
  std::fprintf(report, "edit=%s\neditChanges=%d\nremember=%d\nrememberClicks=%d\nlanguage=%s\ncolour=%s\n"
               "answer=%d\nversion=%lu.%lu\n",
               folder, state.editChanges, static_cast<int>(IsDlgButtonChecked(window, kRemember)),
               state.rememberClicks, state.language.c_str(), state.colour.c_str(), state.answer,
               static_cast<unsigned long>(version & 0xFF), static_cast<unsigned long>((version >> 8) & 0xFF));
  std::fclose(report);
}

void OnCommand(HWND window, int id, int code, HWND control) {
  switch (id) {
    case kFolderEdit:
      if (code == EN_CHANGE) ++state.editChanges;
      break;
    case kRemember:
      if (code == BN_CLICKED) ++state.rememberClicks;
      break;
    case kLanguageCombo:
      if (code == CBN_SELCHANGE) state.language = ItemText(control, true, SendMessageA(control, CB_GETCURSEL, 0, 0));
      break;
    case kColourList:
      if (code == LBN_SELCHANGE) state.colour = ItemText(control, false, SendMessageA(control, LB_GETCURSEL, 0, 0));
      break;
    case kAsk:
      state.answer = MessageBoxA(window, "Keep the changes?\nSecond line", ("Robot Question " + state.name).c_str(),
                                 MB_YESNOCANCEL | MB_ICONQUESTION);
      break;
    case kBusy:
      Sleep(6000);
      break;
    case kFinish:
      WriteReport(window);
      DestroyWindow(window);
      break;
    default:
      break;
  }
}

void CreateControls(HWND window) {
  AddControl(window, "Static", "&Folder:", WS_VISIBLE, 10, 10, 80, 20, kFolderLabel);
  AddControl(window, "Edit", "C:\\Old", WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 100, 10, 200, 20, kFolderEdit);
  AddControl(window, "Button", "&Remember me", WS_VISIBLE | BS_AUTOCHECKBOX, 10, 40, 150, 20, kRemember);
  AddControl(window, "Static", "&Language:", WS_VISIBLE, 10, 70, 80, 20, kLanguageLabel);
  HWND combo = AddControl(window, "ComboBox", "", WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 100, 70, 200, 100,
                          kLanguageCombo);
  for (const char* item : {"Deutsch", "English", "Nederlands"}) {
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  AddControl(window, "Static", "Colours:", WS_VISIBLE, 10, 100, 80, 20, kColourLabel);
  HWND list = AddControl(window, "ListBox", "", WS_VISIBLE | WS_BORDER | LBS_NOTIFY, 100, 100, 200, 60, kColourList);
  for (const char* item : {"Red", "Green", "Blue"}) {
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  }
  // The hidden twin comes first in Z order, as a wizard's other pages would.
  AddControl(window, "Button", "&Finish", BS_PUSHBUTTON, 10, 170, 80, 24, kHiddenFinish);
  AddControl(window, "Button", "&Ask", WS_VISIBLE | BS_PUSHBUTTON, 10, 170, 80, 24, kAsk);
  AddControl(window, "Button", "Locked", WS_VISIBLE | WS_DISABLED | BS_PUSHBUTTON, 100, 170, 80, 24, kLocked);
  AddControl(window, "Button", "Busy", WS_VISIBLE | BS_PUSHBUTTON, 190, 170, 80, 24, kBusy);
  AddControl(window, "Button", "&Finish", WS_VISIBLE | BS_DEFPUSHBUTTON, 280, 170, 80, 24, kFinish);
  AddControl(window, "Static", "Not a button", WS_VISIBLE, 10, 200, 150, 20, kNotAButton);
}

LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateControls(window);
      return 0;
    case WM_COMMAND:
      OnCommand(window, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(state.answer);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  state.name = argv[1];
  state.reportPath = argv[2];
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = TargetProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "RobotTargetWindow";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "RobotTargetWindow", ("Robot Target " + state.name).c_str(),
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 260, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) return 3;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}
