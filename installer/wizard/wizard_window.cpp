#include "installer/wizard/wizard_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include "common/control_ids.h"
#include "common/exit_codes.h"
#include "common/message_box.h"
#include "common/folder_tree.h"
#include "common/window_toolkit.h"
#include "installer/config/language_texts.h"
#include "installer/package/package_layout.h"
#include "installer/startup/startup_resources.h"
#include "installer/wizard/finish_page.h"
#include "installer/wizard/start_installation.h"
#include "installer/wizard/wizard_controls.h"
#include "installer/wizard/wizard_pages.h"

namespace corvalis {

namespace {

constexpr char kWizardClass[] = "CorvalisSetupWizard";
constexpr char kPageClass[] = "CorvalisWizardPage";

bool IsWhiteText(int id) {
  return id == kIdWelcomeTitle || id == kIdWelcomeText || id == kIdWelcomeNotice || id == kIdFinishTitle ||
         id == kIdFinishText;
}

NavigationSwitches CurrentSwitches(const WizardView& view) {
  const ScriptSettings& script = view.session.ScriptSettings;
  // Once the user chose no group, the Start-menu page is not shown again.
  return NavigationSwitches{script.RequireLicense == "1", script.RequireReadme == "1", WizardChoices(view).MakeGroup};
}

void OnNext(WizardView& view) {
  InstallSession& session = view.session;
  session.StartMenuGroupPath = ControlText(view.Control(kIdGroupPath));
  const NextStep step =
      NextFrom(session.CurrentPage, CurrentSwitches(view), ControlText(view.Control(kIdDestinationPath)));
  switch (step.Action) {
    case NextAction::ShowPage:
      ShowPage(view, step.Page);
      return;
    case NextAction::WarnEmptyDestination:
      ShowMessageBox(view.window, session.StubTexts[kTextChoosePath], session.StubTexts[kTextWarningTitle],
                     MB_OK | MB_ICONSTOP);
      return;
    case NextAction::StartInstallation: {
      const Outcome installed = view.run->Install(WizardChoices(view));
      if (installed.Ends) {
        view.ended = installed;
      } else {
        ShowPage(view, kPageFinish);
      }
      return;
    }
    case NextAction::Nothing:
      return;
  }
}

void OnPrevious(WizardView& view) {
  const int page = PreviousFrom(view.session.CurrentPage, CurrentSwitches(view));
  if (page >= 0) ShowPage(view, page);
}

// Enter and Escape arrive as Next and Cancel whatever the page: a hidden or disabled
// button must not act.
void OnCommand(WizardView& view, int id, int code) {
  const bool clicked = code == BN_CLICKED;
  const bool usable = IsUsable(view.Control(id));
  switch (id) {
    case kIdWizardCancel:
      if (!clicked || !usable) break;
      // On the progress page only the installation's own hooks may act on it.
      if (view.session.CurrentPage == kPageProgress) {
        view.cancelNotified = true;
      } else if (ConfirmCancel(view)) {
        view.ended = EndRun(kExitCancelled);
      }
      break;
    case kIdWizardFinish:
      if (clicked && usable) {
        Choices choices = WizardChoices(view);
        choices.FinishTicks = TickedFinishActions(view.session, view);
        view.ended = view.run->Complete(choices, view.uninstallerImage(view.session));
      }
      break;
    case kIdWizardNext:
      if (clicked && usable) OnNext(view);
      break;
    case kIdWizardPrevious:
      if (clicked && usable) OnPrevious(view);
      break;
    case kIdWizardWebLink:
      if (code == STN_CLICKED) {
        ShellExecuteA(view.window, "open", view.session.ScriptSettings.Website.c_str(), nullptr, nullptr,
                      SW_SHOWNORMAL);
      }
      break;
    case kIdLicenseAgree:
      if (clicked) OnLicenseTicked(view);
      break;
    case kIdDestinationBrowse:
      if (clicked) OnBrowse(view);
      break;
    case kIdNoGroup:
      if (clicked) OnNoGroup(view);
      break;
    case kIdGroupFolders:
      if (code == LBN_SELCHANGE) OnFolderChosen(view);
      break;
    default:
      break;
  }
}

LRESULT CALLBACK WizardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WizardView* view = WindowUserData<WizardView>(window);
  switch (message) {
    case WM_COMMAND:
      if (view) OnCommand(*view, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      if (IsWhiteText(id)) {
        SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
      }
      if (id == kIdWizardWebLink && view) {
        SetTextColor(dc, view->linkHovered ? RGB(0, 0, 0) : RGB(0, 0, 255));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    }
    case WM_SETCURSOR: {
      if (!view) break;
      HWND link = view->Control(kIdWizardWebLink);
      const bool onLink = link && reinterpret_cast<HWND>(wParam) == link;
      if (onLink != view->linkHovered) {
        view->linkHovered = onLink;
        InvalidateRect(link, nullptr, TRUE);
      }
      if (onLink) {
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case DM_GETDEFID:
      // Asked by the dialog manager for Enter, which it then sends as this button's click.
      if (view) return MAKELRESULT(DefaultButtonId(*view), DC_HASDEFID);
      break;
    case WM_CLOSE:
      return 0;  // only the buttons leave the wizard
    case kDpiChangedMessage:
      FollowDpiChange(window, wParam, lParam);
      return 0;
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

bool CreateWizardWindow(WizardView& view) {
  // The progress bar and the finish checklist are common controls.
  InitCommonControlClasses(ICC_PROGRESS_CLASS | ICC_LISTVIEW_CLASSES);
  if (!RegisterWindowClass(kWizardClass, WizardProc, static_cast<HICON>(StartupImage(kProgramIcon))) ||
      !RegisterWindowClass(kPageClass, PageProc, nullptr)) {
    return false;
  }
  const ScriptSettings& script = view.session.ScriptSettings;
  const std::string title = script.AppName + " v." + script.Version + " :: Setup";
  view.window = CreateCentredWindow(kWizardClass, title.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                    WS_EX_CONTROLPARENT, kWizardClientWidth, kWizardClientHeight, &view);
  if (!view.window) return false;
  EnableMenuItem(GetSystemMenu(view.window, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  for (int page = 0; page < kWizardPageCount; ++page) {
    view.pages[page] =
        AddControl(view.window, kPageClass, "", WS_CLIPCHILDREN, 0, 0, kPageWidth, kPageHeight, kIdWizardFirstPage + page);
    if (!view.pages[page]) return false;
    AddExStyle(view.pages[page], WS_EX_CONTROLPARENT);
    ShowWindow(view.pages[page], SW_HIDE);
  }
  return true;
}

}  // namespace

Outcome BuildWizard(InstallSession& session, UninstallerImageFn uninstallerImage, WizardView** built) {
  static WizardView view(session);
  view.uninstallerImage = uninstallerImage;
  const Outcome loaded = LoadWizardContent(view);
  DeleteFolderTree(session.WorkFolder + kInformationFolder);
  if (loaded.Ends) return loaded;

  if (!CreateWizardWindow(view)) return EndRun(kExitFailure);
  BuildControls(view);
  FillPages(view);
  BuildFinishActions(session, &view);
  *built = &view;
  return kGoOn;
}

int RunWizard(InstallSession& session, UninstallerImageFn uninstallerImage) {
  WizardView* built = nullptr;
  const Outcome outcome = BuildWizard(session, uninstallerImage, &built);
  if (outcome.Ends) return outcome.ExitCode;
  WizardView& view = *built;
  InstallationRun run(session, &view);
  view.run = &run;
  ShowPage(view, kPageWelcome);
  ShowNow(view.window);
  SetForegroundWindow(view.window);
  MSG message;
  while (!view.ended.Ends) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) return kExitFailure;
    if (!IsDialogMessageA(view.window, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  view.run = nullptr;
  return view.ended.ExitCode;
}

}  // namespace corvalis
