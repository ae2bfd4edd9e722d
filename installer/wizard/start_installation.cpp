#include "installer/wizard/start_installation.h"

#include <windows.h>
#include <commctrl.h>

#include <cmath>

#include "common/ansi_text.h"
#include "common/control_ids.h"
#include "common/system_operations.h"
#include "common/window_toolkit.h"
#include "installer/config/language_texts.h"
#include "installer/engine/run_installation.h"
#include "installer/engine/task_operations_win32.h"
#include "installer/package/extract_archive.h"
#include "installer/wizard/wizard_pages.h"
#include "installer/work_folder.h"

namespace corvalis {

namespace {

// Drawing the page for every file cost more than unpacking small files: the bar and the
// file name are shown at most this often, and for the last entry.
constexpr DWORD kUnpackRedrawMs = 50;

// The download and status hooks are plain functions: they reach the wizard through this,
// set while the installation runs.
WizardView* runningView = nullptr;

void SetProgressBar(const WizardView& view, int percent) {
  SendMessageA(view.Control(kIdInstallProgress), PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

void ShowStatusLine(const std::string& text) {
  if (!runningView) return;
  HWND action = runningView->Control(kIdProgressAction);
  SetWindowTextA(action, text.c_str());
  UpdateWindow(action);
}

// Deletes the unpacked files, then the folders the unpacking created below and at
// `folder`, deepest first, each only when empty.
void RollbackInstalledFiles(const InstallSession& session, const std::string& folder) {
  for (const std::string& file : session.InstalledFiles) {
    // Folder entries are reported too; a folder's attributes are not ours to change.
    const DWORD attributes = GetFileAttributesA(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(file.c_str());
  }
  // Only folders the unpacking made: one that was there before stays even when empty,
  // and one that holds anyone else's file stays because it isn't empty.
  for (const std::string& created : DeepestFirst(session.UnpackCreatedFolders)) {
    if (created.size() < folder.size() || !EqualsNoCase(created.substr(0, folder.size()), folder)) continue;
    SetFileAttributesA(created.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(created.c_str());
  }
}

[[noreturn]] void EndCancelledInstallation(const InstallSession& session) {
  RollbackInstalledFiles(session, session.InstallPath);
  AbortInstaller();
}

// Cancel asks, and Yes undoes the unpacking and ends the installer. Inside the unpacking
// the archive is still open and the work folder that holds it couldn't go, so that end
// waits until ExtractArchive has closed it. Returns true when the unpacking is to stop.
bool HandleCancel(WizardView& view, bool unpacking) {
  if (!TakeCancelClick(view.window, view.Control(kIdWizardCancel), &view.cancelNotified)) return false;
  if (!ConfirmCancel(view)) return false;
  if (!unpacking) EndCancelledInstallation(view.session);
  StopExtractArchive();
  return true;
}

int OnDownloadProgress(const std::string&, float percent) {
  if (!runningView) return 0;
  SetProgressBar(*runningView, static_cast<int>(std::lround(percent)));
  HandleCancel(*runningView, false);
  return 0;
}

class WizardFrontEnd final : public InstallationFrontEnd {
 public:
  explicit WizardFrontEnd(WizardView& view) : view_(view) {}

  void ShowProgressPage() override {
    ShowPage(view_, kPageProgress);
    EnableWindow(view_.Control(kIdWizardNext), FALSE);
    EnableWindow(view_.Control(kIdWizardPrevious), FALSE);
  }
  std::string DestinationField() override { return ControlText(view_.Control(kIdDestinationPath)); }
  std::string GroupField() override { return ControlText(view_.Control(kIdGroupPath)); }
  void SetProgress(int percent) override { SetProgressBar(view_, percent); }
  void DisableCancel() override { EnableWindow(view_.Control(kIdWizardCancel), FALSE); }
  bool PathExists(const std::string& path) override { return corvalis::PathExists(path); }
  void UnpackProgramArchive(InstallSession& session) override {
    // Known before anything is unpacked: a cancel removes only these folders.
    const std::vector<std::string> targets = ArchiveTargets(session.ProgramArchiveTemp);
    for (const std::string& folder : FoldersForEntries(session.InstallPath, targets)) {
      if (!corvalis::PathExists(folder)) session.UnpackCreatedFolders.push_back(folder);
    }
    bool cancelled = false;
    DWORD lastRedraw = 0;
    bool redrawn = false;
    SetExtractProgressHook([&](const std::string& name, float percent) {
      if (!name.empty()) {
        session.InstalledFiles.push_back(session.InstallPath + name);
        const DWORD now = GetTickCount();
        if (!redrawn || now - lastRedraw >= kUnpackRedrawMs || percent >= 100.0f) {
          SetProgressBar(view_, static_cast<int>(std::lround(percent)));
          ShowStatusLine(session.StubTexts[kTextUnpackingStatus] + " " + FileNamePart(name));
          lastRedraw = now;
          redrawn = true;
        }
      }
      cancelled = HandleCancel(view_, true) || cancelled;
    });
    ExtractArchive(session.ProgramArchiveTemp, "*.*", session.InstallPath, 1);
    SetExtractProgressHook(nullptr);
    if (cancelled) EndCancelledInstallation(session);
    DeleteFileA(session.ProgramArchiveTemp.c_str());
  }

 private:
  WizardView& view_;
};

}  // namespace

TaskOperations& InstallationOperations(WizardView& view) {
  runningView = &view;
  static SystemTaskOperations operations(OnDownloadProgress, ShowStatusLine);
  return operations;
}

void StartInstallation(InstallSession& session, WizardView& view) {
  WizardFrontEnd frontEnd(view);
  RunInstallation(session, frontEnd, InstallationOperations(view));
}

}  // namespace corvalis
