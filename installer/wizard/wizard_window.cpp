#include "installer/wizard/wizard_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <memory>
#include <new>
#include <string>

#include "common/ansi_text.h"
#include "common/control_ids.h"
#include "common/folder_tree.h"
#include "common/window_toolkit.h"
#include "installer/config/setup_steps.h"
#include "installer/engine/session_paths.h"
#include "installer/startup_resources.h"
#include "installer/wizard/start_installation.h"
#include "installer/wizard/wizard_images.h"
#include "installer/wizard/wizard_layout.h"
#include "installer/wizard/wizard_rules.h"
#include "installer/work_folder.h"

namespace corvalis {

namespace {

constexpr char kWizardClass[] = "CorvalisSetupWizard";
constexpr char kPageClass[] = "CorvalisWizardPage";
constexpr int kHeaderCount = 5;
constexpr int kProgramsFolderVariable = 8;
// Far beyond any licence a text box can show; a larger file is a damaged package.
constexpr LONGLONG kMaxTextFileBytes = 64LL * 1024 * 1024;

struct WizardState {
  InstallSession* session = nullptr;
  HWND window = nullptr;
  HWND pages[kWizardPageCount] = {};
  HBITMAP wizardBitmap = nullptr;
  HBITMAP headers[kHeaderCount] = {};
  HBITMAP white = nullptr;
  HFONT linkFont = nullptr;
  bool linkHovered = false;
  std::string programsFolder;
};

WizardState wizard;

// A Cancel click that reached the window procedure on the progress page, where only the
// progress hooks may act on it.
bool progressCancelNotified = false;

enum class TextRead { Ok, NoMemory, CannotOpen };

// The whole file, kept up to its first NUL byte: that is what the text box shows.
TextRead ReadTextFile(const std::string& path, std::string* text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return TextRead::CannotOpen;
  TextRead result = TextRead::CannotOpen;
  LARGE_INTEGER size;
  if (GetFileSizeEx(file, &size)) {
    std::unique_ptr<char[]> buffer;
    if (size.QuadPart <= kMaxTextFileBytes) buffer.reset(new (std::nothrow) char[size.QuadPart + 1]);
    DWORD read = 0;
    if (!buffer) {
      result = TextRead::NoMemory;
    } else if (ReadFile(file, buffer.get(), static_cast<DWORD>(size.QuadPart), &read, nullptr)) {
      buffer[read] = '\0';
      *text = buffer.get();
      result = TextRead::Ok;
    }
  }
  CloseHandle(file);
  return result;
}

void LoadPageText(InstallSession& session, const std::string& path, std::string* text, int noMemoryKey,
                  int cannotOpenKey) {
  switch (ReadTextFile(path, text)) {
    case TextRead::Ok:
      return;
    case TextRead::NoMemory:
      FailWithMessage(session, session.StubTexts[noMemoryKey]);
    case TextRead::CannotOpen:
      FailWithMessage(session, session.StubTexts[cannotOpenKey]);
  }
}

void LoadImages(InstallSession& session) {
  wizard.wizardBitmap = LoadFittedBitmap(session.WizardBitmapPath, kWizardBitmapWidth, kWizardBitmapHeight);
  if (!wizard.wizardBitmap) FailWithMessage(session, session.StubTexts[11]);
  HBITMAP header = LoadFittedBitmap(session.HeaderBitmapPath, kHeaderWidth, kHeaderHeight);
  if (!header) FailWithMessage(session, session.StubTexts[12]);

  DrawHeaderLines(header);
  const COLORREF textColour = static_cast<COLORREF>(session.ScriptSettings.HeaderTextColour) & 0xFFFFFF;
  for (int i = 0; i < kHeaderCount; ++i) {
    wizard.headers[i] = MakeHeaderImage(header, session.StubTexts[kHeaderTitleKeys[i]],
                                        session.StubTexts[kHeaderSubtitleKeys[i]], textColour);
  }
  DeleteObject(header);
  DrawSeparatorLines(static_cast<HBITMAP>(StartupImage(1)));
  wizard.white = MakeWhiteBitmap(kWhiteBackgroundWidth, kPageHeight);
}

bool IsWhiteText(int id) {
  return id == kIdWelcomeTitle || id == kIdWelcomeText || id == kIdWelcomeNotice ||
         id == kIdFinishTitle || id == kIdFinishText;
}

HBITMAP PictureFor(int id) {
  if (id == kIdWelcomeBackground || id == kIdFinishBackground) return wizard.white;
  if (id == kIdWelcomeBitmap || id == kIdFinishBitmap) return wizard.wizardBitmap;
  if (id == kIdWizardSeparator) return static_cast<HBITMAP>(StartupImage(1));
  const int header = id - kIdWizardFirstHeader;
  if (header >= 1 && header <= kHeaderCount) return wizard.headers[header - 1];
  return nullptr;
}

HICON IconFor(int id) { return static_cast<HICON>(StartupImage(id == kIdDestinationIcon ? 2 : 3)); }

bool Usable(HWND control) { return control && IsWindowVisible(control) && IsWindowEnabled(control); }

bool IsTicked(int id) { return SendMessageA(WizardControl(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::string ListItemText(HWND list, LRESULT index) {
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

HWND AddPlacedControl(const ControlPlace& place, HWND parent, const std::string& text) {
  HFONT font = place.Font == kDefaultFont ? nullptr : StartupFont(place.Font);
  const char* className = "STATIC";
  DWORD style = 0;
  DWORD exStyle = 0;
  switch (place.Kind) {
    case ControlKind::PushButton:
      className = "BUTTON", style = BS_PUSHBUTTON | WS_TABSTOP;
      break;
    case ControlKind::DefaultButton:
      className = "BUTTON", style = BS_DEFPUSHBUTTON | WS_TABSTOP;
      break;
    case ControlKind::CheckBox:
      className = "BUTTON", style = BS_AUTOCHECKBOX | WS_TABSTOP;
      break;
    case ControlKind::Label:
    case ControlKind::WhiteLabel:
      style = SS_LEFT;
      break;
    case ControlKind::Picture:
      style = SS_BITMAP | WS_CLIPSIBLINGS;
      break;
    case ControlKind::IconPicture: {
      HWND icon = AddIcon(parent, IconFor(place.Id), place.X, place.Y, place.Id);
      return icon;
    }
    case ControlKind::TextBox:
      className = "EDIT", style = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP;
      exStyle = WS_EX_STATICEDGE;
      break;
    case ControlKind::PathField:
      className = "EDIT", style = ES_AUTOHSCROLL | WS_TABSTOP, exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::ReadOnlyField:
      className = "EDIT", style = ES_AUTOHSCROLL | ES_READONLY | WS_DISABLED, exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::Frame:
      className = "BUTTON", style = BS_GROUPBOX;
      break;
    case ControlKind::FolderList:
      className = "LISTBOX", style = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP;
      exStyle = WS_EX_CLIENTEDGE;
      break;
    case ControlKind::ProgressBar:
      className = PROGRESS_CLASSA;
      break;
    case ControlKind::Checklist:
      className = WC_LISTVIEWA, style = LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | WS_TABSTOP;
      break;
    case ControlKind::Link:
      style = SS_NOTIFY, font = wizard.linkFont;
      break;
  }
  HWND control = AddControl(parent, className, text.c_str(), style, place.X, place.Y, place.Width,
                            place.Height, place.Id, font);
  if (control && exStyle) AddExStyle(control, exStyle);
  return control;
}

void SetPicture(HWND control, HBITMAP bitmap) {
  SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

// The link's width is its text's: a click beside the text must not open anything.
int LinkWidth(const std::string& text) {
  HDC dc = GetDC(wizard.window);
  HGDIOBJ old = SelectObject(dc, wizard.linkFont);
  SIZE size = {};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(wizard.window, dc);
  return size.cx;
}

HFONT MakeLinkFont() {
  LOGFONTA font = {};
  GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  font.lfUnderline = TRUE;
  return CreateFontIndirectA(&font);
}

void BuildControls(const InstallSession& session) {
  std::size_t count = 0;
  const ControlPlace* places = WizardControls(&count);
  for (std::size_t i = 0; i < count; ++i) {
    const ControlPlace& place = places[i];
    HWND parent = place.Page == kOutsidePages ? wizard.window : wizard.pages[place.Page];
    std::string text = place.TextKey == kNoText ? std::string() : session.StubTexts[place.TextKey];
    if (place.Kind == ControlKind::Link) text = session.ScriptSettings.Website;
    HWND control = AddPlacedControl(place, parent, text);
    if (place.Kind == ControlKind::Picture) SetPicture(control, PictureFor(place.Id));
  }
  // The white backgrounds lie under everything else of their page, whichever end of
  // the Z order new controls take.
  for (int id : {kIdWelcomeBackground, kIdFinishBackground}) {
    SetWindowPos(WizardControl(id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  HWND link = WizardControl(kIdWizardWebLink);
  SetWindowPos(link, nullptr, 0, 0, LinkWidth(session.ScriptSettings.Website), 20,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (TrimBlanks(session.ScriptSettings.Website).empty()) ShowWindow(link, SW_HIDE);
  ShowWindow(WizardControl(kIdWizardFinish), SW_HIDE);
  SendMessageA(WizardControl(kIdInstallProgress), PBM_SETRANGE, 0, MAKELPARAM(0, 100));

  HWND checklist = WizardControl(kIdFinishActions);
  SendMessageA(checklist, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  LVCOLUMNA column = {};
  column.mask = LVCF_WIDTH;
  column.cx = 322 - GetSystemMetrics(SM_CXVSCROLL);
  SendMessageA(checklist, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  // The finish actions fill it; without any it stays hidden.
  ShowWindow(checklist, SW_HIDE);
}

std::uint64_t FreeSpaceOf(const std::string& drive) {
  ULARGE_INTEGER available;
  if (!GetDiskFreeSpaceExA(drive.c_str(), &available, nullptr, nullptr)) return 0;
  return available.QuadPart;
}

void FillSpaceLines(const std::string& destination) {
  const InstallSession& session = *wizard.session;
  SetWindowTextA(WizardControl(kIdAvailableSpace),
                 SpaceLine(session.StubTexts[34], FreeSpaceOf(DriveOfPath(destination))).c_str());
  SetWindowTextA(WizardControl(kIdRequiredSpace), SpaceLine(session.StubTexts[35], session.RequiredSpace).c_str());
}

void FillDestination(const InstallSession& session) {
  const ScriptSettings& script = session.ScriptSettings;
  const std::string destination = InitialDestination(script.DefaultPath, script.AppName, SessionPathContext(session));
  SetWindowTextA(WizardControl(kIdDestinationPath), destination.c_str());
  if (script.PathChangeable == 0) {
    EnableWindow(WizardControl(kIdDestinationPath), FALSE);
    EnableWindow(WizardControl(kIdDestinationBrowse), FALSE);
  }
  FillSpaceLines(destination);
}

void FillGroupChoice(const InstallSession& session) {
  wizard.programsFolder = PathVariableFolder(kProgramsFolderVariable);
  HWND list = WizardControl(kIdGroupFolders);
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((wizard.programsFolder + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  SetWindowTextA(WizardControl(kIdGroupPath),
                 GroupPathForItem(wizard.programsFolder, "", session.ScriptSettings.AppName).c_str());
  if (session.ScriptSettings.ForceGroupCreation == 0) ShowWindow(WizardControl(kIdNoGroup), SW_HIDE);
}

void ApplyButton(int id, ButtonState state) {
  HWND button = WizardControl(id);
  switch (state) {
    case ButtonState::Unchanged:
      return;
    case ButtonState::Enabled:
    case ButtonState::Disabled:
      EnableWindow(button, state == ButtonState::Enabled);
      ShowWindow(button, SW_SHOW);
      return;
    case ButtonState::Hidden:
      ShowWindow(button, SW_HIDE);
      return;
  }
}

NavigationSwitches CurrentSwitches() {
  const ScriptSettings& script = wizard.session->ScriptSettings;
  return NavigationSwitches{script.RequireLicense == "1", script.RequireReadme == "1",
                            script.AutoCreateStartMenu == 1};
}

void OnNext() {
  InstallSession& session = *wizard.session;
  session.StartMenuGroupPath = ControlText(WizardControl(kIdGroupPath));
  const NextStep step =
      NextFrom(session.CurrentPage, CurrentSwitches(), ControlText(WizardControl(kIdDestinationPath)));
  switch (step.Action) {
    case NextAction::ShowPage:
      ShowPage(step.Page);
      return;
    case NextAction::WarnEmptyDestination:
      MessageBoxA(wizard.window, session.StubTexts[68].c_str(), session.StubTexts[67].c_str(), MB_OK | MB_ICONSTOP);
      return;
    case NextAction::StartInstallation:
      StartInstallation();
      return;
    case NextAction::Nothing:
      return;
  }
}

void OnPrevious() {
  const int page = PreviousFrom(wizard.session->CurrentPage, CurrentSwitches());
  if (page >= 0) ShowPage(page);
}

void OnCancel() {
  const InstallSession& session = *wizard.session;
  if (MessageBoxA(wizard.window, session.StubTexts[66].c_str(), session.StubTexts[65].c_str(),
                  MB_YESNO | MB_ICONSTOP) == IDYES) {
    AbortInstaller();
  }
}

int CALLBACK BrowseStarts(HWND dialog, UINT message, LPARAM, LPARAM startFolder) {
  if (message == BFFM_INITIALIZED) SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, startFolder);
  return 0;
}

void OnBrowse() {
  const std::string start = PathVariableFolder(0);
  char name[MAX_PATH] = "";
  BROWSEINFOA info = {};
  info.hwndOwner = wizard.window;
  info.pszDisplayName = name;
  info.lpszTitle = wizard.session->StubTexts[69].c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = BrowseStarts;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  if (!chosen) return;
  char path[MAX_PATH] = "";
  const BOOL converted = SHGetPathFromIDListA(chosen, path);
  CoTaskMemFree(chosen);
  if (!converted) return;
  const std::string folder = BrowsedDestination(path);
  if (folder.empty()) return;
  SetWindowTextA(WizardControl(kIdDestinationPath), folder.c_str());
  FillSpaceLines(folder);
}

void OnNoGroup() {
  const bool noGroup = IsTicked(kIdNoGroup);
  EnableWindow(WizardControl(kIdGroupFolders), !noGroup);
  wizard.session->ScriptSettings.AutoCreateStartMenu = noGroup ? 0 : 1;
}

void OnFolderChosen() {
  HWND list = WizardControl(kIdGroupFolders);
  const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return;
  SetWindowTextA(WizardControl(kIdGroupPath),
                 GroupPathForItem(wizard.programsFolder, ListItemText(list, index),
                                  wizard.session->ScriptSettings.AppName)
                     .c_str());
}

// Enter and Escape arrive as Next and Cancel whatever the page: a hidden or disabled
// button must not act.
void OnCommand(int id, int code) {
  const bool clicked = code == BN_CLICKED;
  switch (id) {
    case kIdWizardCancel:
      if (!clicked || !Usable(WizardControl(id))) break;
      if (wizard.session->CurrentPage == kPageProgress) {
        progressCancelNotified = true;
      } else {
        OnCancel();
      }
      break;
    case kIdWizardFinish:
      if (clicked && Usable(WizardControl(id))) Finish();
      break;
    case kIdWizardNext:
      if (clicked && Usable(WizardControl(id))) OnNext();
      break;
    case kIdWizardPrevious:
      if (clicked && Usable(WizardControl(id))) OnPrevious();
      break;
    case kIdWizardWebLink:
      if (code == STN_CLICKED) {
        ShellExecuteA(wizard.window, "open", wizard.session->ScriptSettings.Website.c_str(), nullptr, nullptr,
                      SW_SHOWNORMAL);
      }
      break;
    case kIdLicenseAgree:
      if (clicked && wizard.session->CurrentPage == kPageLicense) {
        EnableWindow(WizardControl(kIdWizardNext), IsTicked(kIdLicenseAgree));
      }
      break;
    case kIdDestinationBrowse:
      if (clicked) OnBrowse();
      break;
    case kIdNoGroup:
      if (clicked) OnNoGroup();
      break;
    case kIdGroupFolders:
      if (code == LBN_SELCHANGE) OnFolderChosen();
      break;
    default:
      break;
  }
}

LRESULT CALLBACK WizardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (wizard.session) OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      if (IsWhiteText(id)) {
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
      }
      if (id == kIdWizardWebLink) {
        SetTextColor(dc, wizard.linkHovered ? RGB(0, 0, 0) : RGB(0, 0, 255));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    }
    case WM_SETCURSOR: {
      HWND link = WizardControl(kIdWizardWebLink);
      const bool onLink = link && reinterpret_cast<HWND>(wParam) == link;
      if (onLink != wizard.linkHovered) {
        wizard.linkHovered = onLink;
        InvalidateRect(link, nullptr, TRUE);
      }
      if (onLink) {
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_CLOSE:
      return 0;  // only the buttons leave the wizard
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

// The pages pass their controls' notifications and colour questions on to the window.
LRESULT CALLBACK PageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
      return SendMessageA(GetParent(page), message, wParam, lParam);
    default:
      return DefWindowProcA(page, message, wParam, lParam);
  }
}

bool CreateWizardWindow(const InstallSession& session) {
  // The progress bar and the finish checklist are common controls.
  InitCommonControlClasses(ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES);
  if (!RegisterWindowClass(kWizardClass, WizardProc, static_cast<HICON>(StartupImage(0))) ||
      !RegisterWindowClass(kPageClass, PageProc, nullptr)) {
    return false;
  }
  const ScriptSettings& script = session.ScriptSettings;
  const std::string title = script.AppName + " v." + script.Version + " :: Setup";
  wizard.window = CreateCentredWindow(kWizardClass, title.c_str(),
                                      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                      WS_EX_CONTROLPARENT, kWizardClientWidth, kWizardClientHeight);
  if (!wizard.window) return false;
  EnableMenuItem(GetSystemMenu(wizard.window, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  wizard.linkFont = MakeLinkFont();
  for (int page = 0; page < kWizardPageCount; ++page) {
    wizard.pages[page] = AddControl(wizard.window, kPageClass, "", WS_CLIPCHILDREN, 0, 0, kPageWidth,
                                    kPageHeight, kIdWizardFirstPage + page);
    if (!wizard.pages[page]) return false;
    AddExStyle(wizard.pages[page], WS_EX_CONTROLPARENT);
    ShowWindow(wizard.pages[page], SW_HIDE);
  }
  return true;
}

}  // namespace

void BuildWizard(InstallSession& session) {
  wizard.session = &session;
  const ScriptSettings& script = session.ScriptSettings;
  if (script.RequireReadme == "1") LoadPageText(session, session.ReadMePath, &session.ReadMeText, 7, 8);
  if (script.RequireLicense == "1") LoadPageText(session, session.LicensePath, &session.LicenseText, 9, 10);
  LoadImages(session);
  DeleteFolderTree(session.WorkFolder + "Information\\");

  // No text exists for a window that can't be made; the installer just ends.
  if (!CreateWizardWindow(session)) AbortInstaller();
  BuildControls(session);
  SetWindowTextA(WizardControl(kIdLicenseText), session.LicenseText.c_str());
  SetWindowTextA(WizardControl(kIdReadMeText), session.ReadMeText.c_str());
  FillDestination(session);
  FillGroupChoice(session);
  BuildFinishActions(session);

  ShowPage(kPageWelcome);
  ShowNow(wizard.window);
  SetForegroundWindow(wizard.window);
}

void ShowPage(int page) {
  if (page < 0 || page >= kWizardPageCount || !wizard.window) return;
  // The buttons first: whoever sees the new page sees it with its buttons.
  const PageButtons buttons = ButtonsForPage(page, IsTicked(kIdLicenseAgree));
  ApplyButton(kIdWizardNext, buttons.Next);
  ApplyButton(kIdWizardPrevious, buttons.Previous);
  if (buttons.FinishInsteadOfCancel) {
    ShowWindow(WizardControl(kIdWizardCancel), SW_HIDE);
    ShowWindow(WizardControl(kIdWizardFinish), SW_SHOW);
  }
  ShowWindow(wizard.pages[page], SW_SHOW);
  for (int other = 0; other < kWizardPageCount; ++other) {
    if (other != page) ShowWindow(wizard.pages[other], SW_HIDE);
  }
  if (buttons.FinishInsteadOfCancel) SetFocus(WizardControl(kIdWizardFinish));
  if (buttons.FocusExplanation) {
    SetFocus(WizardControl(kIdProgressExplanation));
  } else if (!Usable(GetFocus())) {
    HWND next = WizardControl(kIdWizardNext);
    SetFocus(Usable(next) ? next : WizardControl(kIdWizardCancel));
  }
  wizard.session->CurrentPage = page;
}

void RunWizard() {
  MSG message;
  for (;;) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) AbortInstaller();
    if (!IsDialogMessageA(wizard.window, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

bool TakeCancelClick() {
  HWND cancel = WizardControl(kIdWizardCancel);
  MSG event;
  if (PeekMessageA(&event, nullptr, 0, 0, PM_REMOVE)) {
    const bool onButton = event.hwnd == cancel && (event.message == WM_LBUTTONUP || event.message == BM_CLICK);
    const bool announced = event.hwnd == wizard.window && event.message == WM_COMMAND &&
                           LOWORD(event.wParam) == kIdWizardCancel && HIWORD(event.wParam) == BN_CLICKED;
    if ((onButton || announced) && Usable(cancel)) progressCancelNotified = true;
    // Paint requests stay queued until served; leaving them would hide every later click.
    if (event.message == WM_PAINT) DispatchMessageA(&event);
  }
  const bool clicked = progressCancelNotified;
  progressCancelNotified = false;
  return clicked;
}

HWND WizardWindow() { return wizard.window; }

HWND WizardControl(int id) {
  if (!wizard.window) return nullptr;
  if (HWND direct = GetDlgItem(wizard.window, id)) return direct;
  for (HWND page : wizard.pages) {
    if (HWND control = page ? GetDlgItem(page, id) : nullptr) return control;
  }
  return nullptr;
}

}  // namespace corvalis
