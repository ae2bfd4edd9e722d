#include "installer/wizard/wizard_pages.h"

#include <shlobj.h>

#include "common/control_ids.h"
#include "common/special_folders.h"
#include "common/window_toolkit.h"
#include "installer/config/language_texts.h"
#include "installer/engine/session_paths.h"

namespace corvalis {

namespace {

bool IsTicked(const WizardView& view, int id) {
  return SendMessageA(view.Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string ListItemText(HWND list, LRESULT index) {
  const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

std::uint64_t FreeSpaceOf(const std::string& drive) {
  std::uint64_t available = 0;
  return FreeSpaceOfDrive(drive, &available) ? available : 0;
}

void FillSpaceLines(const WizardView& view, const std::string& destination) {
  const StubTextTable& texts = view.session.StubTexts;
  SetWindowTextA(view.Control(kIdAvailableSpace),
                 SpaceLine(texts[kTextAvailableSpace], FreeSpaceOf(DriveOfPath(destination))).c_str());
  SetWindowTextA(view.Control(kIdRequiredSpace),
                 SpaceLine(texts[kTextRequiredSpace], view.session.RequiredSpace).c_str());
}

void FillDestination(const WizardView& view) {
  const ScriptSettings& script = view.session.ScriptSettings;
  const std::string destination =
      InitialDestination(view.session.RegisteredLocation, script.DefaultPath, script.AppName,
                         SessionPathContext(view.session));
  SetWindowTextA(view.Control(kIdDestinationPath), destination.c_str());
  if (script.PathChangeable == 0) {
    EnableWindow(view.Control(kIdDestinationPath), FALSE);
    EnableWindow(view.Control(kIdDestinationBrowse), FALSE);
  }
  FillSpaceLines(view, destination);
}

void FillGroupChoice(WizardView& view) {
  view.programsFolder = PathVariableFolder(kAllUsersProgramsFolder, SessionPathContext(view.session));
  HWND list = view.Control(kIdGroupFolders);
  SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((view.programsFolder + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  const ScriptSettings& script = view.session.ScriptSettings;
  SetWindowTextA(view.Control(kIdGroupPath), GroupPathForItem(view.programsFolder, "", script.AppName).c_str());
  if (script.ForceGroupCreation == 0) ShowWindow(view.Control(kIdNoGroup), SW_HIDE);
}

void ApplyButton(const WizardView& view, int id, ButtonState state) {
  HWND button = view.Control(id);
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

int CALLBACK BrowseStarts(HWND dialog, UINT message, LPARAM, LPARAM startFolder) {
  if (message == BFFM_INITIALIZED) SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, startFolder);
  return 0;
}

}  // namespace

void FillPages(WizardView& view) {
  FillDestination(view);
  FillGroupChoice(view);
  // What the command line chose stands in the fields, for the user to see and change.
  const InstallerOptions& options = view.session.Options;
  if (!options.Destination.empty()) {
    SetWindowTextA(view.Control(kIdDestinationPath), options.Destination.c_str());
    FillSpaceLines(view, options.Destination);
  }
  if (!options.Group.empty()) {
    const std::string group =
        UnattendedGroupPath(view.programsFolder, options.Group, view.session.ScriptSettings.AppName);
    SetWindowTextA(view.Control(kIdGroupPath), group.c_str());
  }
  if (options.NoGroup && IsWindowVisible(view.Control(kIdNoGroup))) {
    SendMessageA(view.Control(kIdNoGroup), BM_SETCHECK, BST_CHECKED, 0);
    OnNoGroup(view);
  }
}

void ShowPage(WizardView& view, int page) {
  if (page < 0 || page >= kWizardPageCount || !view.window) return;
  // The buttons first: whoever sees the new page sees it with its buttons.
  const PageButtons buttons = ButtonsForPage(page, IsTicked(view, kIdLicenseAgree));
  ApplyButton(view, kIdWizardNext, buttons.Next);
  ApplyButton(view, kIdWizardPrevious, buttons.Previous);
  if (buttons.FinishInsteadOfCancel) {
    ShowWindow(view.Control(kIdWizardCancel), SW_HIDE);
    ShowWindow(view.Control(kIdWizardFinish), SW_SHOW);
  }
  ShowWindow(view.pages[page], SW_SHOW);
  for (int other = 0; other < kWizardPageCount; ++other) {
    if (other != page) ShowWindow(view.pages[other], SW_HIDE);
  }
  // Each page opens on its default button, so that Enter and Space go forward; where it
  // isn't usable yet (the licence not accepted), on the first control that is.
  if (buttons.FocusExplanation) {
    SetFocus(view.Control(kIdProgressExplanation));
  } else {
    HWND preferred = view.Control(buttons.FinishInsteadOfCancel ? kIdWizardFinish : kIdWizardNext);
    SetFocus(IsUsable(preferred) ? preferred : GetNextDlgTabItem(view.window, nullptr, FALSE));
  }
  view.session.CurrentPage = page;
}

void OnLicenseTicked(WizardView& view) {
  if (view.session.CurrentPage == kPageLicense) {
    EnableWindow(view.Control(kIdWizardNext), IsTicked(view, kIdLicenseAgree));
  }
}

int DefaultButtonId(const WizardView& view) {
  return IsWindowVisible(view.Control(kIdWizardFinish)) ? kIdWizardFinish : kIdWizardNext;
}

void OnBrowse(WizardView& view) {
  const std::string start = PathVariableFolder(kProgramFilesFolder, SessionPathContext(view.session));
  char name[MAX_PATH] = "";
  BROWSEINFOA info = {};
  info.hwndOwner = view.window;
  info.pszDisplayName = name;
  info.lpszTitle = view.session.StubTexts[kTextBrowseTitle].c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = BrowseStarts;
  info.lParam = reinterpret_cast<LPARAM>(start.c_str());
  LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
  if (!chosen) return;
  wchar_t path[MAX_PATH] = L"";
  const BOOL converted = SHGetPathFromIDListW(chosen, path);
  CoTaskMemFree(chosen);
  if (!converted) return;
  const std::string folder = BrowsedDestination(AnsiSystemPath(path));
  if (folder.empty()) return;
  SetWindowTextA(view.Control(kIdDestinationPath), folder.c_str());
  FillSpaceLines(view, folder);
}

void OnNoGroup(WizardView& view) { EnableWindow(view.Control(kIdGroupFolders), !IsTicked(view, kIdNoGroup)); }

Choices WizardChoices(const WizardView& view) {
  Choices choices;
  choices.Destination = ControlText(view.Control(kIdDestinationPath));
  choices.Group = ControlText(view.Control(kIdGroupPath));
  choices.MakeGroup = view.session.ScriptSettings.AutoCreateStartMenu == 1 && !IsTicked(view, kIdNoGroup);
  choices.ForceRestart = view.session.Options.ForceRestart;
  return choices;
}

void OnFolderChosen(WizardView& view) {
  HWND list = view.Control(kIdGroupFolders);
  const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return;
  SetWindowTextA(view.Control(kIdGroupPath),
                 GroupPathForItem(view.programsFolder, ListItemText(list, index), view.session.ScriptSettings.AppName)
                     .c_str());
}

}  // namespace corvalis
