#include "installer/wizard/wizard_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "common/ansi_text.h"
#include "common/control_ids.h"
#include "common/run_mode.h"
#include "common/whole_file.h"
#include "common/window_toolkit.h"
#include "installer/config/language_texts.h"
#include "installer/config/setup_steps.h"
#include "installer/startup/startup_resources.h"
#include "installer/wizard/wizard_images.h"

namespace corvalis {

namespace {

// Far beyond any licence a text box can show; a larger file is a damaged package.
constexpr std::uint64_t kMaxTextFileBytes = 64ull * 1024 * 1024;

// The whole file, kept up to its first NUL byte: that is what the text box shows.
Outcome LoadPageText(const InstallSession& session, const std::string& path, std::string* text, StubText tooLarge,
                     StubText unreadable) {
  std::string bytes;
  switch (ReadWholeFile(path, kMaxTextFileBytes, &bytes)) {
    case FileRead::Ok:
      bytes.resize(std::strlen(bytes.c_str()));
      text->swap(bytes);
      return kGoOn;
    case FileRead::TooLarge:
      return FailWithMessage(session, session.StubTexts[tooLarge]);
    case FileRead::Unreadable:
      break;
  }
  return FailWithMessage(session, session.StubTexts[unreadable]);
}

// A multi-line text keeps Tab and Esc for itself and then hands them to its parent, the
// page panel, which drops them: the focus could never leave it. This one leaves Tab,
// Shift+Tab and Esc to the dialog manager and keeps the arrows for scrolling and Enter, which
// must not press the default button from inside a text.
LRESULT CALLBACK ReadOnlyTextProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_USERDATA));
  if (message == WM_GETDLGCODE) {
    const MSG* pending = reinterpret_cast<const MSG*>(lParam);
    const bool enter = pending && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN;
    return DLGC_WANTARROWS | (enter ? DLGC_WANTMESSAGE : 0);
  }
  return CallWindowProcA(original, control, message, wParam, lParam);
}

HBITMAP PictureFor(const WizardView& view, int id) {
  if (id == kIdWelcomeBackground || id == kIdFinishBackground) return view.white;
  if (id == kIdWelcomeBitmap || id == kIdFinishBitmap) return view.wizardBitmap;
  if (id == kIdWizardSeparator) return static_cast<HBITMAP>(StartupImage(kSeparatorBitmap));
  const int header = id - kIdWizardFirstHeader;
  if (header >= 1 && header <= kHeaderCount) return view.headers[header - 1];
  return nullptr;
}

HICON IconFor(int id) {
  return static_cast<HICON>(StartupImage(id == kIdDestinationIcon ? kDestinationIcon : kStartMenuIcon));
}

HWND AddPlacedControl(const WizardView& view, const ControlPlace& place, HWND parent, const std::string& text) {
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
      // Stretched to the control when it follows a display of another DPI.
      style = SS_BITMAP | SS_REALSIZECONTROL | WS_CLIPSIBLINGS;
      break;
    case ControlKind::IconPicture:
      return AddIcon(parent, IconFor(place.Id), place.X, place.Y, place.Id);
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
      return AddProgressBar(parent, place.X, place.Y, place.Width, place.Height, place.Id, 100);
    case ControlKind::Checklist:
      className = WC_LISTVIEWA, style = LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | WS_TABSTOP;
      break;
    case ControlKind::Link:
      style = SS_NOTIFY, font = view.linkFont;
      break;
  }
  HWND control = AddControl(parent, className, text.c_str(), style, place.X, place.Y, place.Width, place.Height,
                            place.Id, font);
  if (control && exStyle) AddExStyle(control, exStyle);
  if (control && place.Kind == ControlKind::TextBox) {
    SetWindowLongPtrA(control, GWLP_USERDATA, SetWindowLongPtrA(control, GWLP_WNDPROC,
                                                                reinterpret_cast<LONG_PTR>(ReadOnlyTextProc)));
  }
  return control;
}


HFONT MakeLinkFont() {
  LOGFONTA font = {};
  GetObjectA(DialogFont(), sizeof font, &font);
  font.lfUnderline = TRUE;
  return CreateFontIndirectA(&font);
}

void PrepareChecklist(HWND checklist) {
  SendMessageA(checklist, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
  LVCOLUMNA column = {};
  column.mask = LVCF_WIDTH;
  RECT list = {};
  GetClientRect(checklist, &list);
  column.cx = list.right - GetSystemMetrics(SM_CXVSCROLL);
  SendMessageA(checklist, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
  // The finish actions fill it; without any it stays hidden.
  ShowWindow(checklist, SW_HIDE);
}

// A control's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND control) {
  RECT place = {};
  GetWindowRect(control, &place);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

void Place(HWND control, const RECT& place) {
  SetWindowPos(control, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// The width a push button needs for its text.
int ButtonWidth(HWND button) { return TextSize(button, ControlText(button)).cx + Scaled(16); }

// Texts longer than the layout's room (a language's longer words, a font that doesn't grow
// quite as the layout does): the bottom row of buttons grows together, keeping its right
// edge; Browse grows into the path field; a check box wraps onto more lines (the licence's
// taking them from the text above it); a label grows downward.
void FitTexts(const WizardView& view) {
  const int rowIds[] = {kIdWizardPrevious, kIdWizardNext, kIdWizardFinish, kIdWizardCancel};
  int width = Scaled(76);
  for (int id : rowIds) width = std::max(width, ButtonWidth(view.Control(id)));
  const RECT cancel = PlaceOf(view.Control(kIdWizardCancel));
  const int right = cancel.right;
  const int lefts[] = {right - Scaled(13) - 3 * width, right - Scaled(13) - 2 * width, right - width, right - width};
  for (int i = 0; i < 4; ++i) Place(view.Control(rowIds[i]), {lefts[i], cancel.top, lefts[i] + width, cancel.bottom});

  HWND browse = view.Control(kIdDestinationBrowse);
  RECT browsePlace = PlaceOf(browse);
  const int grow = ButtonWidth(browse) - (browsePlace.right - browsePlace.left);
  if (grow > 0) {
    browsePlace.left -= grow;
    Place(browse, browsePlace);
    HWND path = view.Control(kIdDestinationPath);
    RECT pathPlace = PlaceOf(path);
    pathPlace.right -= grow;
    Place(path, pathPlace);
  }

  const int checkBox = Scaled(18);  // the box and the gap before the text
  for (int id : {kIdLicenseAgree, kIdNoGroup}) {
    HWND box = view.Control(id);
    RECT place = PlaceOf(box);
    const std::string text = ControlText(box);
    const int textWidth = place.right - place.left - checkBox;
    if (TextSize(box, text).cx <= textWidth) continue;
    SetWindowLongA(box, GWL_STYLE, GetWindowLongA(box, GWL_STYLE) | BS_MULTILINE);
    const int extra = TextSize(box, text, textWidth).cy - (place.bottom - place.top);
    if (extra <= 0) continue;
    if (id == kIdLicenseAgree) {
      HWND licence = view.Control(kIdLicenseText);
      RECT above = PlaceOf(licence);
      above.bottom -= extra;
      Place(licence, above);
      place.top -= extra;
    } else {
      place.bottom += extra;
    }
    Place(box, place);
  }

  for (int id : {kIdWelcomeTitle, kIdWelcomeText, kIdWelcomeNotice, kIdGroupText, kIdProgressExplanation,
                 kIdFinishTitle, kIdFinishText}) {
    HWND label = view.Control(id);
    RECT place = PlaceOf(label);
    const int needed = TextSize(label, ControlText(label), place.right - place.left).cy;
    if (needed <= place.bottom - place.top) continue;
    place.bottom = place.top + needed;
    Place(label, place);
  }
}

}  // namespace

Outcome LoadWizardContent(WizardView& view) {
  InstallSession& session = view.session;
  const ScriptSettings& script = session.ScriptSettings;
  // A silent run shows neither page: its licence counts as accepted.
  const bool showsTexts = !IsSilentRun();
  Outcome outcome = kGoOn;
  if (showsTexts && script.RequireReadme == "1") {
    outcome = LoadPageText(session, session.ReadMePath, &session.ReadMeText, kTextReadMeNoMemory, kTextReadMeUnreadable);
    if (outcome.Ends) return outcome;
  }
  if (showsTexts && script.RequireLicense == "1") {
    outcome = LoadPageText(session, session.LicensePath, &session.LicenseText, kTextLicenseNoMemory,
                           kTextLicenseUnreadable);
    if (outcome.Ends) return outcome;
  }

  // Drawn afresh for the display's DPI, smoothly: never pixel-doubled.
  view.wizardBitmap =
      LoadFittedBitmap(session.WizardBitmapPath, Scaled(kWizardBitmapWidth), Scaled(kWizardBitmapHeight));
  if (!view.wizardBitmap) return FailWithMessage(session, session.StubTexts[kTextWizardBitmapUnreadable]);
  HBITMAP header = LoadFittedBitmap(session.HeaderBitmapPath, Scaled(kHeaderWidth), Scaled(kHeaderHeight));
  if (!header) return FailWithMessage(session, session.StubTexts[kTextHeaderBitmapUnreadable]);
  DrawHeaderLines(header);
  const COLORREF textColour = static_cast<COLORREF>(script.HeaderTextColour) & 0xFFFFFF;
  for (int i = 0; i < kHeaderCount; ++i) {
    view.headers[i] = MakeHeaderImage(header, session.StubTexts[kHeaderTitles[i]],
                                      session.StubTexts[kHeaderSubtitles[i]], textColour);
  }
  DeleteObject(header);
  DrawSeparatorLines(static_cast<HBITMAP>(StartupImage(kSeparatorBitmap)));
  view.white = MakeWhiteBitmap(Scaled(kWhiteBackgroundWidth), Scaled(kPageHeight));
  return kGoOn;
}

void BuildControls(WizardView& view) {
  const InstallSession& session = view.session;
  view.linkFont = MakeLinkFont();
  std::size_t count = 0;
  const ControlPlace* places = WizardControls(&count);
  for (std::size_t i = 0; i < count; ++i) {
    const ControlPlace& place = places[i];
    HWND parent = place.Page == kOutsidePages ? view.window : view.pages[place.Page];
    std::string text = place.TextKey == kNoText ? std::string() : session.StubTexts[place.TextKey];
    if (place.Kind == ControlKind::Link) text = session.ScriptSettings.Website;
    HWND control = AddPlacedControl(view, place, parent, text);
    if (place.Kind == ControlKind::Picture) {
      SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(PictureFor(view, place.Id)));
    }
  }
  // The white backgrounds lie under everything else of their page, whichever end of
  // the Z order new controls take.
  for (int id : {kIdWelcomeBackground, kIdFinishBackground}) {
    SetWindowPos(view.Control(id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }

  HWND link = view.Control(kIdWizardWebLink);
  // The link's width is its text's: a click beside the text must not open anything.
  SetWindowPos(link, nullptr, 0, 0, TextSize(link, session.ScriptSettings.Website).cx, Scaled(20),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (TrimBlanks(session.ScriptSettings.Website).empty()) ShowWindow(link, SW_HIDE);
  ShowWindow(view.Control(kIdWizardFinish), SW_HIDE);
  PrepareChecklist(view.Control(kIdFinishActions));
  SetWindowTextA(view.Control(kIdLicenseText), session.LicenseText.c_str());
  SetWindowTextA(view.Control(kIdReadMeText), session.ReadMeText.c_str());
  FitTexts(view);
}

}  // namespace corvalis
