#include "installer/engine/task_executor.h"

#include <cstring>

#include "common/ansi_text.h"
#include "common/ini_file.h"
#include "common/os_family.h"
#include "common/registry_roots.h"
#include "common/task_types.h"
#include "installer/config/language_texts.h"

namespace corvalis {

namespace {

constexpr int kShowHidden = 0;
constexpr int kShowShown = 5;
constexpr int kShowNormal = 1;

// One task on its way through the executor: the expanded line and where its effects go.
struct TaskRun {
  InstallSession& session;
  TaskOperations& operations;
  const PathContext& context;
  const std::string& name;
  const std::string& line;
  UndoKind records;  // what this type records (common/task_types.h)

  std::string F(int n) const { return Field(line, n); }
  int Number(int n) const { return static_cast<int>(ParseInteger(F(n))); }
  void Status(StubText key) const { operations.ShowStatus(session.StubTexts[key]); }
  void Record(const std::string& undoLine) const { session.UndoLog.push_back({name, undoLine}); }
  // The record of this task's change: its file, folder or display name (and extension).
  void RecordChange(const std::string& target, const std::string& extension = std::string()) const {
    Record(UndoRecord(records, target, extension));
  }
  bool OnNt() const { return IsNtFamily(context.OsVersionCode); }
};

void Run(const TaskRun& t) {
  const std::string program = t.F(field::kRunProgram);
  if (t.Number(field::kRunNow) != 1 || program.empty()) return;
  t.Status(kTextRunningStatus);
  t.operations.RunProgram(program, t.F(field::kRunParameters), FolderPart(program),
                          t.Number(field::kRunHidden) == 1 ? kShowHidden : kShowShown, t.Number(field::kRunWait) == 1);
}

void RegAddValue(const TaskRun& t) {
  const int type = RegistryValueType(t.F(field::kRegistryType));
  if (!t.operations.SetRegistryValue(TaskLineRoot(t.F(field::kRegistryRoot)), t.F(field::kRegistryKeyPath),
                                     t.F(field::kRegistryValueName), t.F(field::kRegistryData), type)) {
    return;
  }
  t.Record(t.line);
  t.Status(kTextRegAddValueStatus);
}

void RegAddKey(const TaskRun& t) {
  if (!t.operations.CreateRegistryKey(TaskLineRoot(t.F(field::kRegistryRoot)), t.F(field::kRegistryKeyPath))) return;
  t.Record(t.line);
  t.Status(kTextRegAddKeyStatus);
}

void RegDelValue(const TaskRun& t) {
  t.Status(kTextRegDelValueStatus);
  t.operations.DeleteRegistryValue(TaskLineRoot(t.F(field::kRegistryRoot)), t.F(field::kRegistryKeyPath),
                                   t.F(field::kRegistryValueName));
}

void RegDelKey(const TaskRun& t) {
  t.Status(kTextRegDelKeyStatus);
  t.operations.DeleteRegistryKey(TaskLineRoot(t.F(field::kRegistryRoot)), t.F(field::kRegistryKeyPath));
}

void NormalLink(const TaskRun& t) {
  if (t.F(field::kLinkDeferred) != "0") return;
  std::string linkName = t.F(field::kLinkName);
  if (!EndsWithNoCase(linkName, ".lnk")) linkName += ".lnk";
  const std::string linkPath = PathVariableFolder(t.Number(field::kLinkLocation), t.context) + linkName;
  const std::string target = t.F(field::kLinkTarget);
  if (!t.operations.CreateShellLink(target, linkPath, "", t.F(field::kLinkDescription), FolderPart(target), kShowNormal,
                                    0, target, t.Number(field::kLinkIconIndex))) {
    return;
  }
  t.Status(kTextNormalLinkStatus);
  t.RecordChange(linkPath);
}

void InternetLink(const TaskRun& t) {
  if (t.F(field::kLinkDeferred) != "0") return;
  std::string linkName = t.F(field::kLinkName);
  if (!EndsWithNoCase(linkName, ".url")) linkName += ".url";
  const std::string linkPath = PathVariableFolder(t.Number(field::kLinkLocation), t.context) + linkName;
  if (!t.operations.CreateInternetShortcut(t.F(field::kLinkTarget), linkPath)) return;
  // The uninstaller removes both kinds of link file the same way.
  t.RecordChange(linkPath);
  t.Status(kTextInternetLinkStatus);
}

void DeleteFileTask(const TaskRun& t) {
  if (t.F(field::kFilePath).empty()) return;
  t.Status(kTextDeleteFileStatus);
  t.operations.RemoveFile(t.F(field::kFilePath));
}

void MoveFileTask(const TaskRun& t) {
  t.Status(kTextMoveFileStatus);
  // The source goes only once its copy is in place, so a failed copy loses nothing.
  if (t.operations.CopyFileOver(t.F(field::kCopySource), t.F(field::kCopyDestination))) {
    t.operations.RemoveFile(t.F(field::kCopySource));
  }
}

void CopyFileTask(const TaskRun& t) {
  t.Status(kTextCopyFileStatus);
  if (t.operations.CopyFileOver(t.F(field::kCopySource), t.F(field::kCopyDestination))) {
    t.RecordChange(t.F(field::kCopyDestination));
  }
}

void CreateFolderTask(const TaskRun& t) {
  t.Status(kTextCreateFolderStatus);
  const std::string path = WithTrailingBackslash(t.F(field::kFolderPath));
  if (t.operations.CreateFolder(path)) t.RecordChange(path);
}

void DeleteFolderTask(const TaskRun& t) {
  t.Status(kTextDeleteFolderStatus);
  // A forced, recursive delete of a drive's root, a share or the current folder would take
  // everything in it.
  const std::string folder = t.F(field::kFolderPath);
  if (!IsRemovableFolderTree(folder)) return;
  t.operations.RemoveFolder(WithTrailingBackslash(folder), t.F(field::kFolderRecursive) == "1",
                            t.F(field::kFolderForce) == "1");
}

void Associate(const TaskRun& t) {
  t.Status(kTextAssociateStatus);
  const std::string program = t.F(field::kAssociationProgram);
  const std::string extension = t.F(field::kAssociationExtension);
  if (t.operations.AssociateExtension(extension, t.F(field::kAssociationDescription), program,
                                      program + "," + t.F(field::kAssociationIconIndex))) {
    t.RecordChange(FileNamePart(program), extension);
  }
}

void Disassociate(const TaskRun& t) {
  t.Status(kTextDisassociateStatus);
  const std::string extension = t.F(field::kAssociationExtension);
  const std::string program = t.F(field::kDisassociationProgram);
  if (!extension.empty() && !program.empty()) t.operations.DisassociateExtension(extension, program);
}

void StartService(const TaskRun& t) {
  if (!t.OnNt() || t.F(field::kServiceName).empty()) return;
  t.operations.StartServiceByName(t.F(field::kServiceName));
  t.Status(kTextStartServiceStatus);
}

void InstallServiceTask(const TaskRun& t) {
  const std::string name = t.F(field::kServiceName), displayName = t.F(field::kServiceDisplayName);
  const std::string program = t.F(field::kServiceProgram);
  if (!t.OnNt() || name.empty() || displayName.empty() || program.empty()) return;
  const std::string startText = t.F(field::kServiceStartType);
  const int startType = startText.size() == 1 && startText[0] >= '0' && startText[0] <= '4' ? startText[0] - '0' : 0;
  if (!t.operations.InstallService(name, displayName, program, t.F(field::kServiceDescription), startType)) return;
  t.RecordChange(displayName);
  t.Status(kTextInstallServiceStatus);
}

void StopService(const TaskRun& t) {
  if (!t.OnNt() || t.F(field::kServiceName).empty()) return;
  t.operations.StopServiceByName(t.F(field::kServiceName));
  t.Status(kTextStopServiceStatus);
}

void RemoveService(const TaskRun& t) {
  if (!t.OnNt() || t.F(field::kServiceName).empty()) return;
  t.operations.RemoveServiceByName(t.F(field::kServiceName));
  t.Status(kTextRemoveServiceStatus);
}

void RegisterServerTask(const TaskRun& t) {
  const std::string server = t.F(field::kServerFile);
  if (server.empty()) return;
  t.operations.RegisterServer(server, 1);
  // Recorded even when regsvr32 couldn't start: unregistering what isn't registered is harmless.
  t.RecordChange(server);
  t.Status(kTextRegisterServerStatus);
}

void UnregisterServer(const TaskRun& t) {
  if (t.F(field::kServerFile).empty()) return;
  t.operations.RegisterServer(t.F(field::kServerFile), 0);
  t.Status(kTextUnregisterServerStatus);
}

void Download(const TaskRun& t) {
  const std::string url = t.F(field::kDownloadAddress);
  const std::string destination = CollapseBackslashes(t.F(field::kDownloadFile));
  if (url.empty() || destination.empty()) return;
  t.operations.ShowStatus(t.session.StubTexts[kTextDownloadStatus] + " (" + url + ")");
  t.operations.DownloadFile(destination, url);
}

void InstallFontTask(const TaskRun& t) {
  const std::string name = t.F(field::kFontName), file = t.F(field::kFontFile);
  if (!name.empty() && !file.empty()) t.operations.InstallFont(name, file);
}

void Restart(const TaskRun& t) { t.operations.RestartComputer(0); }

struct TaskRunner {
  TaskType type;
  void (*run)(const TaskRun&);
};

// KILLTASK is absent on purpose: the run ends those processes before unpacking.
constexpr TaskRunner kRunners[] = {
    {TaskType::Run, Run},
    {TaskType::RegAddValue, RegAddValue},
    {TaskType::RegAddKey, RegAddKey},
    {TaskType::RegDelValue, RegDelValue},
    {TaskType::RegDelKey, RegDelKey},
    {TaskType::NormalLink, NormalLink},
    {TaskType::InternetLink, InternetLink},
    {TaskType::DeleteFile, DeleteFileTask},
    {TaskType::MoveFile, MoveFileTask},
    {TaskType::CopyFile, CopyFileTask},
    {TaskType::CreateFolder, CreateFolderTask},
    {TaskType::DeleteFolder, DeleteFolderTask},
    {TaskType::AssociateExtension, Associate},
    {TaskType::DisassociateExtension, Disassociate},
    {TaskType::StartService, StartService},
    {TaskType::InstallService, InstallServiceTask},
    {TaskType::StopService, StopService},
    {TaskType::RemoveService, RemoveService},
    {TaskType::RegisterServer, RegisterServerTask},
    {TaskType::UnregisterServer, UnregisterServer},
    {TaskType::DownloadFile, Download},
    {TaskType::InstallFont, InstallFontTask},
    {TaskType::Restart, Restart},
};

}  // namespace

int ExecuteTask(InstallSession& session, const TaskEntry& task, TaskOperations& operations) {
  if (!task.Line.empty()) {
    const PathContext context = operations.ExpansionContext(session);
    std::string line;
    if (!ExpandTaskLine(task.Line, context, &line)) {
      // A value that holds the separator would shift every field after it.
      operations.Log("task " + task.Name + " refused: an expanded field holds the field separator");
      operations.Pause(kTaskPauseMs);
      return 1;
    }
    operations.Log("task " + task.Name + ": " + line);
    const TaskTypeInfo* type = FindTaskType(TaskList::Install, Field(line, field::kKeyword));
    for (const TaskRunner& runner : kRunners) {
      if (!type || runner.type != type->Type) continue;
      runner.run(TaskRun{session, operations, context, task.Name, line, type->Records});
      break;
    }
  }
  operations.Pause(kTaskPauseMs);
  return 1;
}

}  // namespace corvalis
