#include "installer/wizard/start_installation.h"

#include <windows.h>
#include <commctrl.h>

#include <cmath>
#include <set>
#include <vector>

#include "common/ansi_text.h"
#include "common/control_ids.h"
#include "common/long_paths.h"
#include "common/message_box.h"
#include "common/run_log.h"
#include "common/run_mode.h"
#include "common/system_operations.h"
#include "common/window_toolkit.h"
#include "installer/config/language_texts.h"
#include "installer/engine/uninstall_writer.h"
#include "installer/engine/session_paths.h"
#include "installer/engine/task_executor.h"
#include "installer/package/messages.h"
#include "installer/startup/startup_texts.h"
#include "installer/wizard/finish_actions.h"
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

bool IsInUse(unsigned long error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

}  // namespace

InstallationRun::InstallationRun(InstallSession& session, WizardView* view)
    : session_(session),
      view_(view),
      operations_([this](const std::string&, float percent) {
                    SetProgress(static_cast<int>(std::lround(percent)));
                    return 0;
                  },
                  [this](const std::string& text) { ShowStatusLine(text); }) {
  operations_.SetRestartAllowed(!session.Options.NoRestart);
}

void InstallationRun::ShowProgressPage() {
  if (!view_) return;
  ShowPage(*view_, kPageProgress);
  EnableWindow(view_->Control(kIdWizardNext), FALSE);
  EnableWindow(view_->Control(kIdWizardPrevious), FALSE);
}

void InstallationRun::SetProgress(int percent) {
  if (view_) SendMessageA(view_->Control(kIdInstallProgress), PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

void InstallationRun::ShowStatusLine(const std::string& text) { ShowStatusLine(text, std::string(), false); }

void InstallationRun::ShowStatusLine(const std::string& text, const std::string& name, bool utf8Name) {
  if (!view_) return;
  HWND action = view_->Control(kIdProgressAction);
  if (utf8Name) {
    // Through the wide call: the code page has no spelling for it.
    SetWindowTextW(action, ToWide(AnsiToUtf8(text) + name, CP_UTF8).data());
  } else {
    SetWindowTextA(action, (text + name).c_str());
  }
  UpdateWindow(action);
}

void InstallationRun::DisableCancel() {
  if (view_) EnableWindow(view_->Control(kIdWizardCancel), FALSE);
}

bool InstallationRun::PathExists(const std::string& path) { return corvalis::PathExists(path); }

bool InstallationRun::CancelConfirmed() {
  if (!view_) return false;
  WizardView& view = *view_;
  return TakeCancelClick(view.window, view.Control(kIdWizardCancel), &view.cancelNotified) && ConfirmCancel(view);
}

// The user may free space or close what holds the file and try again, or cancel; a silent
// run replaces a file in use at the next restart and gives up on anything else. A damaged
// entry can't get better by trying again.
WriteFailure InstallationRun::OnWriteFailure(const std::string& path, unsigned long error) {
  HWND owner = view_ ? view_->window : nullptr;
  const std::string& title = session_.StubTexts[kTextErrorTitle];
  if (error == kDamagedEntryError) {
    LogLine("damaged in the package: " + path);
    ShowMessageBox(owner, kCorruptedPackageText, title, MB_OK | MB_ICONSTOP);
    stop_ = EndRun(kExitFailure);
    return WriteFailure::Stop;
  }
  if (IsSilentRun()) {
    if (IsInUse(error)) {
      LogLine("in use, replaced at the next restart: " + path);
      return WriteFailure::ReplaceAtRestart;
    }
    LogLine("can't write " + path + ": " + SystemErrorText(error) + " (error " + std::to_string(error) + ")");
    stop_ = EndRun(WriteFailureExitCode(error));
    return WriteFailure::Stop;
  }
  const bool full = IsDiskFull(error);
  const std::string text = std::string(full ? kDiskFullText : kFileNotWrittenText) + path + "\r\n" +
                           SystemErrorText(error) + "\r\n\r\n" + (full ? kDiskFullAdvice : kFileNotWrittenAdvice);
  if (ShowMessageBox(owner, text, title, MB_RETRYCANCEL | MB_ICONWARNING) == IDRETRY) return WriteFailure::Retry;
  stop_ = EndRun(kExitCancelled);
  return WriteFailure::Stop;
}

// Deletes the unpacked files, then the folders the unpacking created below and at the
// destination, deepest first, each only when empty. A file in use that was to be replaced
// at the next restart stays as it was; only its new content goes.
Outcome InstallationRun::RollBack(int exitCode) {
  const std::string& folder = session_.InstallPath;
  std::set<std::string> inUse;
  for (const auto& replaced : session_.ReplacedAtRestart) {
    inUse.insert(replaced.first);
    DeletePath(replaced.second);
  }
  for (const std::string& file : session_.InstalledFiles) {
    // Folder entries are reported too; a folder's attributes are not ours to change.
    const DWORD attributes = PathAttributes(file);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) || inUse.count(file)) continue;
    SetPathAttributes(file, FILE_ATTRIBUTE_NORMAL);
    DeletePath(file);
  }
  // Only folders the unpacking made: one that was there before stays even when empty,
  // and one that holds anyone else's file stays because it isn't empty.
  for (const std::string& created : DeepestFirst(session_.UnpackCreatedFolders)) {
    if (created.size() < folder.size() || !EqualsNoCase(created.substr(0, folder.size()), folder)) continue;
    SetPathAttributes(created, FILE_ATTRIBUTE_NORMAL);
    RemoveFolderPath(created);
  }
  session_.InstalledFiles.clear();
  return EndRun(exitCode);
}

Outcome InstallationRun::UnpackProgramArchive(InstallSession& session) {
  // Every name passes the rule for entry names before anything is written, and the folders
  // the unpacking makes are known: a cancel removes only these.
  const ArchiveNames names = ReadArchiveNames(session.ProgramArchiveTemp);
  // An archive that can't be read at all is as damaged as one whose entry fails its check:
  // installing nothing from it is no success.
  if (!names.readable || names.anyRefused) {
    LogLine(names.readable ? "refused entry name: " + names.refused : "the application archive can't be read");
    ShowMessageBox(view_ ? view_->window : nullptr, kCorruptedPackageText, session.StubTexts[kTextErrorTitle],
                   MB_OK | MB_ICONSTOP);
    return EndRun(kExitFailure);
  }
  if (!names.firstForeign.empty() && !KeepsShortNames(session.InstallPath)) {
    LogLineUtf8("no short names on the destination's volume for " + names.firstForeign);
    ShowMessageBox(view_ ? view_->window : nullptr, kNoShortNamesText + Utf8ToAnsi(names.firstForeign),
                   session.StubTexts[kTextErrorTitle], MB_OK | MB_ICONSTOP);
    return EndRun(kExitFailure);
  }
  for (const std::string& folder : FoldersForEntries(session.InstallPath, names.targets)) {
    if (!corvalis::PathExists(folder)) session.UnpackCreatedFolders.push_back(folder);
  }
  stop_ = kGoOn;
  DWORD lastRedraw = 0, lastPoll = 0;
  bool redrawn = false;
  SetExtractProgressHook([&](const std::string& name, float percent) {
    const DWORD now = GetTickCount();
    if (!name.empty()) {
      session.InstalledFiles.push_back(session.InstallPath + name);
      // A name the code page can't hold is recorded by its short path, and shown and
      // logged by its own.
      const std::string& foreign = ReportedForeignName();
      if (foreign.empty()) {
        LogLine("unpacked " + session.InstallPath + name);
      } else {
        LogLineUtf8("unpacked " + AnsiToUtf8(session.InstallPath) + foreign + " (" + AnsiToUtf8(name) + ")");
      }
      if (!redrawn || now - lastRedraw >= kUnpackRedrawMs || percent >= 100.0f) {
        SetProgress(static_cast<int>(std::lround(percent)));
        ShowStatusLine(session.StubTexts[kTextUnpackingStatus] + " ", FileNamePart(foreign.empty() ? name : foreign),
                       !foreign.empty());
        lastRedraw = now;
        redrawn = true;
      }
    }
    // The archive is still open and the work folder that holds it couldn't go: the run
    // asks the unpacking to stop and ends once ExtractArchive has closed it.
    if (now - lastPoll >= kUnpackCancelPollMs) {
      if (!stop_.Ends && CancelConfirmed()) {
        stop_ = EndRun(kExitCancelled);
        StopExtractArchive();
      }
      lastPoll = now;
    }
  });
  SetExtractFailureHook([this](const std::string& path, unsigned long error) { return OnWriteFailure(path, error); });
  ExtractArchive(session.ProgramArchiveTemp, "*.*", session.InstallPath, 1);
  SetExtractProgressHook(nullptr);
  SetExtractFailureHook(nullptr);
  for (const Replacement& replaced : ReplacedAtRestart()) {
    session.ReplacedAtRestart.push_back({replaced.Target, replaced.NewContent});
  }
  if (stop_.Ends) return RollBack(stop_.ExitCode);
  DeleteFileA(session.ProgramArchiveTemp.c_str());
  return kGoOn;
}

Outcome InstallationRun::Install(const Choices& choices) {
  LogLine("chosen: destination " + choices.Destination +
          (choices.MakeGroup ? ", program group " + choices.Group : ", no program group"));
  return RunInstallation(session_, choices, *this, operations_);
}

Outcome InstallationRun::Complete(const Choices& choices, const std::string& uninstallerImage) {
  InstallSession& session = session_;
  RemoveWorkFolder(session);
  NotifyAssociationsChanged();
  const std::vector<bool>& ticked = choices.FinishTicks;
  for (std::size_t i = 0; i < session.FinishActions.size() && i < ticked.size(); ++i) {
    LogLine("finish action " + session.FinishActions[i].Name + (ticked[i] ? ": done" : ": left out"));
  }
  const FinishPlan plan = PlanFinish(session.FinishActions, ticked);
  for (const FinishAction& action : plan.BeforeUninstallData) {
    ExecuteTask(session, {action.Name, action.Line}, operations_);
  }
  const int written = WriteUninstallData(session, operations_, uninstallerImage, DateStamp(CurrentLogTime()));
  if (written != kExitSuccess) {
    ShowMessageBox(view_ ? view_->window : nullptr,
                   std::string(kFileNotWrittenText) + session.UninstallDataPath, session.StubTexts[kTextErrorTitle],
                   MB_OK | MB_ICONSTOP);
    return RollBack(written);
  }
  NotifyAssociationsChanged();
  for (const FinishAction& action : plan.AfterUninstallData) {
    ExecuteTask(session, {action.Name, action.Line}, operations_);
  }
  // A restart the package asks for, or that replaces a file in use, and that nobody started
  // is still needed; /FORCERESTART does it now.
  const bool restartNeeded = operations_.RestartNeeded() || !session.ReplacedAtRestart.empty() ||
                             (session.ScriptSettings.RebootRequired == 1 && !operations_.RestartStarted());
  if (restartNeeded && !operations_.RestartStarted() && choices.ForceRestart) operations_.RestartComputer(0);
  return EndRun(SuccessExitCode(restartNeeded, operations_.RestartStarted()));
}

}  // namespace corvalis
