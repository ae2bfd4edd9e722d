#include "installer/wizard/start_installation.h"

#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <set>

#include "common/ansi_text.h"
#include "common/control_ids.h"
#include "common/exit_codes.h"
#include "common/long_paths.h"
#include "common/message_box.h"
#include "common/run_mode.h"
#include "common/run_log.h"
#include "common/system_operations.h"
#include "common/window_toolkit.h"
#include "installer/config/language_texts.h"
#include "installer/engine/run_installation.h"
#include "installer/package/extract_archive.h"
#include "installer/startup/startup_texts.h"
#include "installer/wizard/wizard_pages.h"
#include "installer/work_folder.h"

namespace corvalis {

namespace {

// Drawing the page for every file cost more than unpacking small files, and moving the
// bar costs about 9 ms under Wine: the bar and the file name are shown at most this
// often, and for the last entry.
constexpr DWORD kUnpackRedrawMs = 100;
// Looking for a click on Cancel asks the window system each time: every 20 ms is soon
// enough for the user and cheap for thousands of small files.
constexpr DWORD kUnpackCancelPollMs = 20;

// The download and status hooks are plain functions: they reach the wizard through this,
// set while the installation runs; null when it runs without a window.
WizardView* runningView = nullptr;

void SetProgressBar(int percent) {
  if (runningView) SendMessageA(runningView->Control(kIdInstallProgress), PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

void ShowStatusLine(const std::string& text) {
  if (!runningView) return;
  HWND action = runningView->Control(kIdProgressAction);
  SetWindowTextA(action, text.c_str());
  UpdateWindow(action);
}

// Deletes the unpacked files, then the folders the unpacking created below and at
// `folder`, deepest first, each only when empty. A file in use that was to be replaced at
// the next restart stays as it was; only its new content goes.
void RollbackInstalledFiles(const InstallSession& session, const std::string& folder) {
  std::set<std::string> inUse;
  for (const auto& replaced : session.ReplacedAtRestart) {
    inUse.insert(replaced.first);
    DeletePath(replaced.second);
  }
  for (const std::string& file : session.InstalledFiles) {
    // Folder entries are reported too; a folder's attributes are not ours to change.
    const DWORD attributes = PathAttributes(file);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) || inUse.count(file)) continue;
    SetPathAttributes(file, FILE_ATTRIBUTE_NORMAL);
    DeletePath(file);
  }
  // Only folders the unpacking made: one that was there before stays even when empty,
  // and one that holds anyone else's file stays because it isn't empty.
  for (const std::string& created : DeepestFirst(session.UnpackCreatedFolders)) {
    if (created.size() < folder.size() || !EqualsNoCase(created.substr(0, folder.size()), folder)) continue;
    SetPathAttributes(created, FILE_ATTRIBUTE_NORMAL);
    RemoveFolderPath(created);
  }
}

[[noreturn]] void EndRolledBack(const InstallSession& session, int exitCode) {
  RollbackInstalledFiles(session, session.InstallPath);
  AbortInstaller(exitCode);
}

[[noreturn]] void EndCancelledInstallation(const InstallSession& session) { EndRolledBack(session, kExitCancelled); }

bool IsInUse(unsigned long error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

// A file of the archive that can't be written. The user may close what holds it and try
// again, or cancel; a silent run replaces a file in use at the next restart and gives up
// on anything else.
WriteFailure OnWriteFailure(const InstallSession& session, const std::string& path, unsigned long error,
                            bool* cancelled, bool* failed) {
  if (IsSilentRun()) {
    if (IsInUse(error)) {
      LogLine("in use, replaced at the next restart: " + path);
      return WriteFailure::ReplaceAtRestart;
    }
    LogLine("can't write " + path + " (error " + std::to_string(error) + ")");
    *failed = true;
    return WriteFailure::Stop;
  }
  const std::string text = std::string(kFileNotWrittenText) + path + "\r\n\r\n" + kFileNotWrittenAdvice;
  HWND owner = runningView ? runningView->window : nullptr;
  if (ShowMessageBox(owner, text, session.StubTexts[kTextErrorTitle], MB_RETRYCANCEL | MB_ICONWARNING) == IDRETRY) {
    return WriteFailure::Retry;
  }
  *cancelled = true;
  return WriteFailure::Stop;
}

// Cancel asks, and Yes undoes the unpacking and ends the installer. Inside the unpacking
// the archive is still open and the work folder that holds it couldn't go, so that end
// waits until ExtractArchive has closed it. Returns true when the unpacking is to stop.
bool HandleCancel(bool unpacking) {
  if (!runningView) return false;
  WizardView& view = *runningView;
  if (!TakeCancelClick(view.window, view.Control(kIdWizardCancel), &view.cancelNotified)) return false;
  if (!ConfirmCancel(view)) return false;
  if (!unpacking) EndCancelledInstallation(view.session);
  StopExtractArchive();
  return true;
}

int OnDownloadProgress(const std::string&, float percent) {
  SetProgressBar(static_cast<int>(std::lround(percent)));
  HandleCancel(false);
  return 0;
}

// The run's front end: the wizard's progress page, or nothing at all; the destination
// and group from the wizard's fields, or as a silent run chose them.
class ProgressFrontEnd final : public InstallationFrontEnd {
 public:
  ProgressFrontEnd(WizardView* view, const std::string* destination, const std::string* group)
      : view_(view), destination_(destination), group_(group) {}

  void ShowProgressPage() override {
    if (!view_) return;
    ShowPage(*view_, kPageProgress);
    EnableWindow(view_->Control(kIdWizardNext), FALSE);
    EnableWindow(view_->Control(kIdWizardPrevious), FALSE);
  }
  std::string DestinationField() override {
    return destination_ ? *destination_ : ControlText(view_->Control(kIdDestinationPath));
  }
  std::string GroupField() override { return group_ ? *group_ : ControlText(view_->Control(kIdGroupPath)); }
  void SetProgress(int percent) override { SetProgressBar(percent); }
  void DisableCancel() override {
    if (view_) EnableWindow(view_->Control(kIdWizardCancel), FALSE);
  }
  bool PathExists(const std::string& path) override { return corvalis::PathExists(path); }
  void UnpackProgramArchive(InstallSession& session) override {
    // Known before anything is unpacked: a cancel removes only these folders.
    const std::vector<std::string> targets = ArchiveTargets(session.ProgramArchiveTemp);
    for (const std::string& folder : FoldersForEntries(session.InstallPath, targets)) {
      if (!corvalis::PathExists(folder)) session.UnpackCreatedFolders.push_back(folder);
    }
    bool cancelled = false;
    bool failed = false;
    DWORD lastRedraw = 0, lastPoll = 0;
    bool redrawn = false;
    SetExtractProgressHook([&](const std::string& name, float percent) {
      const DWORD now = GetTickCount();
      if (!name.empty()) {
        session.InstalledFiles.push_back(session.InstallPath + name);
        LogLine("unpacked " + session.InstallPath + name);
        if (!redrawn || now - lastRedraw >= kUnpackRedrawMs || percent >= 100.0f) {
          SetProgressBar(static_cast<int>(std::lround(percent)));
          ShowStatusLine(session.StubTexts[kTextUnpackingStatus] + " " + FileNamePart(name));
          lastRedraw = now;
          redrawn = true;
        }
      }
      if (now - lastPoll >= kUnpackCancelPollMs) {
        cancelled = HandleCancel(true) || cancelled;
        lastPoll = now;
      }
    });
    SetExtractFailureHook([&](const std::string& path, unsigned long error) {
      return OnWriteFailure(session, path, error, &cancelled, &failed);
    });
    ExtractArchive(session.ProgramArchiveTemp, "*.*", session.InstallPath, 1);
    SetExtractProgressHook(nullptr);
    SetExtractFailureHook(nullptr);
    for (const Replacement& replaced : ReplacedAtRestart()) {
      session.ReplacedAtRestart.push_back({replaced.Target, replaced.NewContent});
    }
    if (cancelled) EndCancelledInstallation(session);
    if (failed) EndRolledBack(session, kExitFailure);
    DeleteFileA(session.ProgramArchiveTemp.c_str());
  }

 private:
  WizardView* view_;
  const std::string* destination_;
  const std::string* group_;
};

}  // namespace

SystemTaskOperations& InstallationOperations(const InstallSession& session, WizardView* view) {
  runningView = view;
  static SystemTaskOperations operations(OnDownloadProgress, ShowStatusLine);
  operations.SetRestartAllowed(!session.Options.NoRestart);
  return operations;
}

void StartInstallation(InstallSession& session, WizardView& view) {
  ProgressFrontEnd frontEnd(&view, nullptr, nullptr);
  RunInstallation(session, frontEnd, InstallationOperations(session, &view));
}

void RunUnattendedInstallation(InstallSession& session, WizardView* view, const std::string& destination,
                               const std::string& group) {
  if (view) EnableWindow(view->Control(kIdWizardCancel), FALSE);
  ProgressFrontEnd frontEnd(view, &destination, &group);
  RunInstallation(session, frontEnd, InstallationOperations(session, view));
}

}  // namespace corvalis
