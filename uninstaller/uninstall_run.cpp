#include "uninstaller/uninstall_run.h"

#include "common/ansi_text.h"
#include "common/exit_codes.h"
#include "common/registry_roots.h"
#include "common/task_line.h"
#include "common/task_types.h"
#include "common/uninstall_data.h"
#include "common/unique_names.h"

namespace corvalis {
namespace {

// Counts the steps of one removal and moves the bar.
class Progress {
 public:
  Progress(UninstallOperations& ops, int total) : ops_(ops), total_(total) {}
  void Step() { ops_.ShowProgress(ProgressPosition(++step_, total_)); }

 private:
  UninstallOperations& ops_;
  int total_;
  int step_ = 0;
};

const std::string& Text(const UninstallSession& session, UninstallText key) { return session.UninstallTexts[key]; }

// A run with no window at all starts the uninstallation's programs hidden too.
bool HidesPrograms(const UninstallSession& session) { return session.Mode == RunMode::VerySilent; }

void RunUninstallationTasks(UninstallSession& session, UninstallOperations& ops) {
  for (const TaskEntry& task : session.UninstallTasks) {
    const TaskType type = TaskTypeOf(task.Line, TaskList::Uninstall);
    if (type == TaskType::Run) {
      const std::string program = Field(task.Line, field::kUninstallRunProgram);
      const std::string parameters = Field(task.Line, field::kUninstallRunParameters);
      if (Field(task.Line, field::kUninstallRunNow) == "1") {
        ops.StartProgram(program, parameters, FolderPart(program), HidesPrograms(session));
      }
      if (Field(task.Line, field::kUninstallRunAfter) == "1") session.RunAfterRemoval.push_back({program, parameters});
    } else if (type == TaskType::LaunchBrowser && session.Mode == RunMode::Interactive) {
      // Nobody would read the page a silent run opened.
      ops.StartProgram("iexplore.exe", Field(task.Line, field::kBrowserAddress), std::string(), false);
    }
  }
}

void Undo(UninstallSession& session, UninstallOperations& ops, const std::string& line) {
  const std::string second = Field(line, field::kRecordTarget);
  switch (UndoKindOf(line)) {
    case UndoKind::RegistryValue:
    case UndoKind::RegistryKey: {
      // Registry records are their task's own line.
      const std::uint32_t root = TaskLineRoot(Field(line, field::kRegistryRoot));
      const std::string keyPath = Field(line, field::kRegistryKeyPath);
      if (root == 0 || keyPath.empty()) return;
      if (UndoKindOf(line) == UndoKind::RegistryKey) {
        session.KeysToDelete.push_back({root, keyPath});
      } else if (!Field(line, field::kRegistryValueName).empty()) {
        ops.DeleteRegistryValue(root, keyPath, Field(line, field::kRegistryValueName));
      }
      return;
    }
    case UndoKind::LinkFile:
    case UndoKind::CopiedFile:
      session.FilesToDelete.push_back(second);
      return;
    case UndoKind::DownloadedFile:
      session.FilesToDelete.push_back(Field(line, field::kRecordDownloadedFile));
      return;
    case UndoKind::Folder:
      session.FoldersToRemove.push_back(MakeFolderEntry(second));
      return;
    case UndoKind::Association:
      if (!second.empty() && !Field(line, field::kRecordExtension).empty()) {
        ops.DisassociateExtension(Field(line, field::kRecordExtension), second);
      }
      return;
    case UndoKind::Service:
      if (!second.empty()) ops.RemoveService(second);
      return;
    case UndoKind::Server:
      if (!second.empty() && ops.PathExists(second)) ops.UnregisterServer(second);
      return;
    case UndoKind::None:
      return;
  }
}

// Each installation into the folder left its own "Uninst<k>" pair, numbered from 0 without
// gaps; an upgrade leaves the earlier pairs beside its own. The product goes with all of them.
void TakeOverOtherInstallations(UninstallOperations& ops, const std::string& ownDataPath, UninstallData* data) {
  if (data->AppName.empty() || !IsRemovableFolderTree(data->InstallPath)) return;
  const std::string folder = WithTrailingBackslash(data->InstallPath);
  constexpr int kMostInstallations = 1000;
  for (int k = 0; k < kMostInstallations; ++k) {
    const std::string program = UninstallerFilePath(folder, k, ".exe");
    const std::string dataPath = UninstallerFilePath(folder, k, ".dat");
    if (!ops.PathExists(program) && !ops.PathExists(dataPath)) return;
    // By name: the command line may give the own folder by another spelling (a short name).
    std::string bytes;
    if (EqualsNoCase(FileNamePart(dataPath), FileNamePart(ownDataPath)) || !ops.ReadFile(dataPath, &bytes)) continue;
    const UninstallData other = ParseUninstallData(bytes);
    if (ToLowerAnsi(other.AppName) != ToLowerAnsi(data->AppName)) continue;
    ops.Log("with the earlier installation " + dataPath);
    AdoptInstallation(data, other, program, dataPath);
  }
}

}  // namespace

int StartFromTempCopy(UninstallOperations& ops, const UninstallerOptions& options) {
  const std::string programPath = ops.OwnPath();
  const std::string installedDataPath = DataFilePathFor(programPath);
  const std::string tempFolder = ops.CopyFolder();
  bool copied = false;
  std::string copyPath;
  const bool nameFree =
      !tempFolder.empty() && !programPath.empty() &&
      PickFreeName([&ops]() { return ops.RandomNumber(kTempCopyNumberMax); }, kTempCopyNumberMax + 1,
                   [&tempFolder](std::uint32_t n) { return TempCopyPath(tempFolder, n); },
                   [&ops](const std::string& candidate) {
                     const bool free = !ops.PathExists(candidate) && !ops.PathExists(DataFilePathFor(candidate));
                     return free ? NameTry::Done : NameTry::Taken;
                   },
                   &copyPath);
  const std::string copyDataPath = DataFilePathFor(copyPath);
  const std::string parameters = SecondStageParameters(installedDataPath, programPath) + SecondStageSwitches(options);
  int exitCode = kExitSuccess;
  unsigned long error = 0;
  if (nameFree && ops.CopyNewFile(programPath, copyPath, &error) &&
      ops.CopyNewFile(installedDataPath, copyDataPath, &error)) {
    ops.Log("stage 2: " + copyPath + " " + parameters);
    // Whoever started stage 1 (a deployment tool, the uninstall entry) waits for it: it ends
    // once stage 2 has decided, with its code.
    exitCode = ops.StartAndWait(copyPath, parameters);
    copied = exitCode >= 0;
  }
  if (copied) return exitCode;
  // Both names were free before the copies, so whatever stands there now is ours,
  // empty or not.
  if (nameFree) {
    ops.RemoveFile(copyPath);
    ops.RemoveFile(copyDataPath);
  }
  ops.DiscardCopyFolder();
  // The installation is untouched: nothing was removed yet.
  if (IsDiskFull(error)) {
    ops.ShowError(std::string(kCopyFailedText) + "\r\n\r\n" + kTempFolderFullText);
    return kExitNoDiskSpace;
  }
  ops.ShowError(kCopyFailedText);
  return kExitFailure;
}

int RunUninstallation(UninstallOperations& ops, const UninstallerOptions& options) {
  const std::string dataPath = DataFilePathFor(ops.OwnPath());
  std::string bytes;
  if (!ops.ReadFile(dataPath, &bytes)) {
    ops.ShowError(std::string(kScriptMissingText) + "\r\n\r\n(" + dataPath + ")");
    return kExitFailure;
  }
  UninstallData data = ParseUninstallData(bytes);
  TakeOverOtherInstallations(ops, options.InstalledDataPath, &data);
  UninstallSession session = SessionFromData(data);
  session.Mode = options.Mode;
  session.NoRestart = options.NoRestart;
  session.ForceRestart = options.ForceRestart;
  ops.Log("uninstalling " + session.AppName + " from " + session.InstallPath);
  int exitCode = kExitCancelled;
  // A silent run was asked for by whoever started it: that is its confirmation.
  if (session.Mode != RunMode::Interactive || ops.AskYesNo(Text(session, kConfirmTitle), Text(session, kConfirmText))) {
    session.KeptExtensions = ParseKeptExtensions(data.SkipExtString);
    session.InstalledProgramPath = options.InstalledProgramPath;
    session.FilesToDelete.push_back(options.InstalledDataPath);
    session.FilesToDelete.push_back(options.InstalledProgramPath);
    exitCode = RemoveInstallation(session, ops);
  }
  ops.RemoveFile(dataPath);
  ops.SelfDelete(session.MovedProgramPath, session.FolderLeftBehind);
  return exitCode;
}

int RemoveInstallation(UninstallSession& session, UninstallOperations& ops) {
  Progress progress(ops, static_cast<int>(session.UninstallTasks.size() + session.InstallRecords.size() +
                                          session.FilesToDelete.size()) + 2);
  ops.OpenProgressWindow(Text(session, kProgressButton), Text(session, kProgressText));

  if (!session.UninstallTasks.empty()) {
    progress.Step();
    RunUninstallationTasks(session, ops);
  }
  for (const TaskEntry& record : session.InstallRecords) {
    progress.Step();
    ops.Log("undo " + record.Name + ": " + record.Line);
    Undo(session, ops, record.Line);
  }
  // After the values, deepest first: a parent the installation created goes once its
  // children have (one that still holds anything else stays).
  SortDeepestFirst(&session.KeysToDelete, [](const RegistryKeyRecord& key) -> const std::string& { return key.KeyPath; });
  for (const RegistryKeyRecord& key : session.KeysToDelete) ops.DeleteRegistryKey(key.Root, key.KeyPath);

  // A damaged or hostile data file must not turn the tree steps on the current folder or
  // a whole drive: then only what is listed goes.
  const std::string installPath = WithTrailingBackslash(session.InstallPath);
  const bool removableTree = IsRemovableFolderTree(session.InstallPath);
  if (removableTree) session.FoldersToRemove.push_back(MakeFolderEntry(installPath));

  for (const std::string& path : session.FilesToDelete) {
    if (path.empty()) continue;
    progress.Step();
    const std::string extension = FileExtension(path);
    if (IsKeptExtension(session.KeptExtensions, extension)) continue;
    // Not the installed uninstaller: that one is stage 1, waiting for this stage in a silent run.
    if (ToLowerAnsi(extension) == "exe" && path != session.InstalledProgramPath) {
      ops.KillProcesses(FileNamePart(path));
    }
    ops.Log("delete " + path);
    if (ops.RemoveFile(path) != UninstallOperations::Removal::InUse) continue;
    // Stage 1 may still run from the installed program, waiting for this stage: its file
    // can't go, but it can leave the installation and go with this copy. On another
    // volume it stays for the copy's self-delete, which waits until stage 1 has ended.
    if (path == session.InstalledProgramPath) {
      const std::string moved = ops.OwnPath() + ".stage1";
      session.MovedProgramPath = ops.MoveFileTo(path, moved) ? moved : path;
    } else if (ops.DeleteAtRestart(path)) {
      ops.Log("in use, deleted at the next restart: " + path);
      session.DeletedAtRestart.push_back(path);
    }
  }

  ops.SetCurrentFolder(FolderPart(ops.OwnPath()));
  if (removableTree) ListSubfolders(session, ops, installPath);
  SortDeepestFirst(&session.FoldersToRemove);
  for (const FolderEntry& folder : session.FoldersToRemove) ops.RemoveEmptyFolder(folder.FolderPath);
  if (removableTree && FolderContentSize(ops, installPath) == 0) {
    ops.DeleteFolderTree(installPath);
    ops.RemoveEmptyFolder(installPath);
  }
  if (removableTree && session.MovedProgramPath == session.InstalledProgramPath && ops.PathExists(installPath)) {
    session.FolderLeftBehind = installPath;
  }
  // The folders of a file left for the restart follow it then, deepest first; one that
  // still holds anything else stays, as the system skips it.
  if (!session.DeletedAtRestart.empty()) {
    for (const FolderEntry& folder : session.FoldersToRemove) {
      if (ops.PathExists(folder.FolderPath)) ops.DeleteAtRestart(folder.FolderPath);
    }
  }

  for (const ProgramStart& start : session.RunAfterRemoval) {
    ops.StartProgram(start.Program, start.Parameters, FolderPart(start.Program), HidesPrograms(session));
  }
  ops.CloseProgressWindow();
  if (!session.AppName.empty()) ops.DeleteRegistryKey(kRootLocalMachine, kUninstallEntryKey + session.AppName);
  ops.NotifyAssociationsChanged();
  if (session.RebootRequired != 1 && session.DeletedAtRestart.empty()) {
    if (session.Mode == RunMode::Interactive) ops.ShowInformation(Text(session, kDoneTitle), Text(session, kDoneText));
    return kExitSuccess;
  }
  // A silent run never restarts by itself: the restart is left to whoever started it,
  // unless it was told to restart.
  if (session.ForceRestart ||
      (session.Mode == RunMode::Interactive && !session.NoRestart && ops.AskYesNo(Text(session, kRestartTitle), Text(session, kRestartText)))) {
    ops.RestartComputer();
    return kExitRestartStarted;
  }
  ops.Log("restart needed; left to the user");
  return kExitRestartNeeded;
}

void ListSubfolders(UninstallSession& session, UninstallOperations& ops, const std::string& folder) {
  for (const std::string& name : ops.ReadFolder(folder).Subfolders) {
    const std::string path = folder + name + "\\";
    session.FoldersToRemove.push_back(MakeFolderEntry(path));
    ListSubfolders(session, ops, path);
  }
}

std::uint64_t FolderContentSize(UninstallOperations& ops, const std::string& folder) {
  const FolderListing listing = ops.ReadFolder(folder);
  std::uint64_t bytes = listing.FileBytes;
  for (const std::string& name : listing.Subfolders) bytes += FolderContentSize(ops, folder + name + "\\");
  return bytes;
}

}  // namespace corvalis
