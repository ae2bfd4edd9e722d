#include "installer/wizard/start_installation.h"

#include <windows.h>
#include <commctrl.h>

#include <cmath>

#include "common/ansi_text.h"
#include "common/control_ids.h"
#include "common/system_operations.h"
#include "common/window_toolkit.h"
#include "installer/engine/run_installation.h"
#include "installer/engine/session_paths.h"
#include "installer/engine/task_executor.h"
#include "installer/engine/task_operations_win32.h"
#include "installer/engine/uninstall_writer.h"
#include "installer/package/extract_archive.h"
#include "installer/uninstaller_image.h"
#include "installer/wizard/finish_actions.h"
#include "installer/wizard/wizard_rules.h"
#include "installer/wizard/wizard_window.h"
#include "installer/work_folder.h"

namespace corvalis {

namespace {

constexpr int kUnpackingStatusKey = 92;

void SetProgressBar(int percent) {
  SendMessageA(WizardControl(kIdInstallProgress), PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

void ShowStatusLine(const std::string& text) {
  HWND action = WizardControl(kIdProgressAction);
  SetWindowTextA(action, text.c_str());
  UpdateWindow(action);
}

SystemTaskOperations& RunOperations() {
  static SystemTaskOperations operations(OnDownloadProgress, ShowStatusLine);
  return operations;
}

// Set by a confirmed cancel during the unpacking, which ends once the archive is closed.
bool unpackingCancelled = false;

[[noreturn]] void EndCancelledInstallation() {
  RollbackInstalledFiles(Session().InstallPath);
  AbortInstaller();
}

// Step 2 of both hooks: Cancel asks, and Yes undoes the unpacking and ends the installer.
// Inside the unpacking the archive is still open and the work folder that holds it
// couldn't go, so the end waits until ExtractArchive has closed it.
void HandleCancel(bool unpacking) {
  if (!TakeCancelClick()) return;
  const InstallSession& session = Session();
  if (MessageBoxA(WizardWindow(), session.StubTexts[66].c_str(), session.StubTexts[65].c_str(),
                  MB_YESNO | MB_ICONSTOP) != IDYES) {
    return;
  }
  if (!unpacking) EndCancelledInstallation();
  unpackingCancelled = true;
  StopExtractArchive();
}

class WizardFrontEnd final : public InstallationFrontEnd {
 public:
  void ShowProgressPage() override {
    ShowPage(kPageProgress);
    EnableWindow(WizardControl(kIdWizardNext), FALSE);
    EnableWindow(WizardControl(kIdWizardPrevious), FALSE);
  }
  std::string DestinationField() override { return ControlText(WizardControl(kIdDestinationPath)); }
  std::string GroupField() override { return ControlText(WizardControl(kIdGroupPath)); }
  void SetProgress(int percent) override { SetProgressBar(percent); }
  void DisableCancel() override { EnableWindow(WizardControl(kIdWizardCancel), FALSE); }
  bool PathExists(const std::string& path) override { return corvalis::PathExists(path); }
  void UnpackProgramArchive(InstallSession& session) override {
    // Known before anything is unpacked: a cancel removes only these folders.
    const std::vector<std::string> targets = ArchiveTargets(session.ProgramArchiveTemp);
    for (const std::string& folder : FoldersForEntries(session.InstallPath, targets)) {
      if (!corvalis::PathExists(folder)) session.UnpackCreatedFolders.push_back(folder);
    }
    SetExtractProgressHook(OnUnpackProgress);
    ExtractArchive(session.ProgramArchiveTemp, "*.*", session.InstallPath, 1);
    SetExtractProgressHook(nullptr);
    if (unpackingCancelled) EndCancelledInstallation();
    DeleteFileA(session.ProgramArchiveTemp.c_str());
  }
};

bool ItemTicked(HWND checklist, int item) {
  const LRESULT state = SendMessageA(checklist, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

}  // namespace

void BuildFinishActions(InstallSession& session) {
  const PathContext context = SessionPathContext(session);
  for (TaskEntry& task : session.ScriptSettings.InstTasks) task.Line = ExpandProgramInfo(task.Line, context);
  HWND checklist = WizardControl(kIdFinishActions);
  for (const FinishItem& item :
       FinishItemsFor(session.ScriptSettings.InstTasks, session.StubTexts, session.ScriptSettings.RebootRequired)) {
    LVITEMA row = {};
    row.mask = LVIF_TEXT;
    row.iItem = item.Action.Item;
    row.pszText = const_cast<char*>(item.Text.c_str());
    SendMessageA(checklist, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&row));
    LVITEMA ticked = {};
    ticked.stateMask = LVIS_STATEIMAGEMASK;
    ticked.state = INDEXTOSTATEIMAGEMASK(2);
    SendMessageA(checklist, LVM_SETITEMSTATE, static_cast<WPARAM>(item.Action.Item), reinterpret_cast<LPARAM>(&ticked));
    session.FinishActions.push_back(item.Action);
  }
  ShowWindow(checklist, session.FinishActions.empty() ? SW_HIDE : SW_SHOWNA);
}

void StartInstallation() {
  WizardFrontEnd frontEnd;
  RunInstallation(Session(), frontEnd, RunOperations());
  ShowPage(kPageFinish);
}

void OnUnpackProgress(const std::string& name, float percent) {
  // Drawing the page for every file cost more than unpacking small files: the bar and the
  // file name are shown at most every kUnpackRedrawMs, and for the last entry.
  constexpr DWORD kUnpackRedrawMs = 50;
  static DWORD lastRedraw = 0;
  static bool redrawn = false;
  if (!name.empty()) {
    InstallSession& session = Session();
    session.InstalledFiles.push_back(session.InstallPath + name);
    const DWORD now = GetTickCount();
    if (!redrawn || now - lastRedraw >= kUnpackRedrawMs || percent >= 100.0f) {
      SetProgressBar(static_cast<int>(std::lround(percent)));
      ShowStatusLine(session.StubTexts[kUnpackingStatusKey] + " " + FileNamePart(name));
      lastRedraw = now;
      redrawn = true;
    }
  }
  HandleCancel(true);
}

int OnDownloadProgress(const std::string&, float percent) {
  SetProgressBar(static_cast<int>(std::lround(percent)));
  HandleCancel(false);
  return 0;
}

void RollbackInstalledFiles(const std::string& folder) {
  const InstallSession& session = Session();
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

void Finish() {
  InstallSession& session = Session();
  RemoveWorkFolder();
  NotifyAssociationsChanged();
  HWND checklist = WizardControl(kIdFinishActions);
  std::vector<bool> ticked;
  for (const FinishAction& action : session.FinishActions) ticked.push_back(ItemTicked(checklist, action.Item));
  const FinishPlan plan = PlanFinish(session.FinishActions, ticked);
  for (const FinishAction& action : plan.BeforeUninstallData) {
    ExecuteTask(session, {action.Name, action.Line}, RunOperations());
  }
  WriteUninstallData(session, RunOperations(), UninstallerImage());
  NotifyAssociationsChanged();
  for (const FinishAction& action : plan.AfterUninstallData) {
    ExecuteTask(session, {action.Name, action.Line}, RunOperations());
  }
  ExitProcess(0);
}

}  // namespace corvalis
