#include "installer/engine/task_executor.h"

#include <cstring>

#include "common/ansi_text.h"
#include "common/ini_file.h"
#include "common/os_family.h"
#include "common/registry_roots.h"

namespace corvalis {

namespace {

// Status lines: the StubTexts keys of the progress page's action text.
constexpr int kStatusRun = 71;
constexpr int kStatusRegAddValue = 72;
constexpr int kStatusRegAddKey = 73;
constexpr int kStatusRegDelValue = 74;
constexpr int kStatusRegDelKey = 75;
constexpr int kStatusNormalLink = 76;
constexpr int kStatusInternetLink = 77;
constexpr int kStatusDeleteFile = 78;
constexpr int kStatusMoveFile = 79;
constexpr int kStatusCopyFile = 80;
constexpr int kStatusCreateFolder = 81;
constexpr int kStatusDeleteFolder = 82;
constexpr int kStatusAssociate = 83;
constexpr int kStatusDisassociate = 84;
constexpr int kStatusStartService = 85;
constexpr int kStatusInstallService = 86;
constexpr int kStatusStopService = 87;
constexpr int kStatusRemoveService = 88;
constexpr int kStatusRegisterServer = 89;
constexpr int kStatusUnregisterServer = 90;
constexpr int kStatusDownload = 91;

constexpr int kShowHidden = 0;
constexpr int kShowShown = 5;
constexpr int kShowNormal = 1;

const std::string kSeparator(1, kFieldSeparator);

// One task on its way through the executor: the expanded line and where its effects go.
struct TaskRun {
  InstallSession& session;
  TaskOperations& operations;
  const PathContext& context;
  const std::string& name;
  const std::string& line;

  std::string F(int n) const { return Field(line, n); }
  int Number(int n) const { return static_cast<int>(ParseInteger(F(n))); }
  void Status(int key) const { operations.ShowStatus(session.StubTexts[key]); }
  void Record(const std::string& undoLine) const { session.UndoLog.push_back({name, undoLine}); }
  bool OnNt() const { return IsNtFamily(context.OsVersionCode); }
};

bool EndsWithNoCase(const std::string& text, const char* suffix) {
  const std::size_t length = std::strlen(suffix);
  return text.size() >= length && ToLowerAnsi(text.substr(text.size() - length)) == suffix;
}

void Run(const TaskRun& t) {
  if (t.Number(4) != 1 || t.F(5).empty()) return;
  t.Status(kStatusRun);
  t.operations.RunProgram(t.F(5), t.F(6), FolderPart(t.F(5)), t.Number(3) == 1 ? kShowHidden : kShowShown,
                          t.Number(2) == 1);
}

void RegAddValue(const TaskRun& t) {
  const std::string typeName = t.F(6);
  const int type = typeName == "REG_SZ" ? kRegistryText : typeName == "REG_DWORD" ? kRegistryNumber : 0;
  if (!t.operations.SetRegistryValue(TaskLineRoot(t.F(2)), t.F(5), t.F(3), t.F(4), type)) return;
  t.Record(t.line);
  t.Status(kStatusRegAddValue);
}

void RegAddKey(const TaskRun& t) {
  if (!t.operations.CreateRegistryKey(TaskLineRoot(t.F(2)), t.F(5))) return;
  t.Record(t.line);
  t.Status(kStatusRegAddKey);
}

void RegDelValue(const TaskRun& t) {
  t.Status(kStatusRegDelValue);
  t.operations.DeleteRegistryValue(TaskLineRoot(t.F(2)), t.F(5), t.F(3));
}

void RegDelKey(const TaskRun& t) {
  t.Status(kStatusRegDelKey);
  t.operations.DeleteRegistryKey(TaskLineRoot(t.F(2)), t.F(5));
}

void NormalLink(const TaskRun& t) {
  if (t.F(5) != "0") return;
  std::string linkName = t.F(3);
  if (!EndsWithNoCase(linkName, ".lnk")) linkName += ".lnk";
  const std::string linkPath = PathVariableFolder(t.Number(2), t.context) + linkName;
  const std::string target = t.F(4);
  if (!t.operations.CreateShellLink(target, linkPath, "", t.F(7), FolderPart(target), kShowNormal, 0, target,
                                    t.Number(6))) {
    return;
  }
  t.Status(kStatusNormalLink);
  t.Record("NORMALLINK" + kSeparator + linkPath);
}

void InternetLink(const TaskRun& t) {
  if (t.F(5) != "0") return;
  std::string linkName = t.F(3);
  if (!EndsWithNoCase(linkName, ".url")) linkName += ".url";
  const std::string linkPath = PathVariableFolder(t.Number(2), t.context) + linkName;
  if (!t.operations.CreateInternetShortcut(t.F(4), linkPath)) return;
  // The uninstaller removes both kinds of link file the same way.
  t.Record("NORMALLINK" + kSeparator + linkPath);
  t.Status(kStatusInternetLink);
}

void DeleteFileTask(const TaskRun& t) {
  if (t.F(2).empty()) return;
  t.Status(kStatusDeleteFile);
  t.operations.RemoveFile(t.F(2));
}

void MoveFileTask(const TaskRun& t) {
  t.Status(kStatusMoveFile);
  // The source goes only once its copy is in place, so a failed copy loses nothing.
  if (t.operations.CopyFileOver(t.F(2), t.F(3))) t.operations.RemoveFile(t.F(2));
}

void CopyFileTask(const TaskRun& t) {
  t.Status(kStatusCopyFile);
  if (t.operations.CopyFileOver(t.F(2), t.F(3))) t.Record("COPYFILE" + kSeparator + t.F(3));
}

void CreateFolderTask(const TaskRun& t) {
  t.Status(kStatusCreateFolder);
  const std::string path = WithTrailingBackslash(t.F(2));
  if (t.operations.CreateFolder(path)) t.Record("CREATEFOLDER" + kSeparator + path);
}

void DeleteFolderTask(const TaskRun& t) {
  t.Status(kStatusDeleteFolder);
  // An empty path would name the root of the current drive.
  if (TrimBlanks(t.F(2)).empty()) return;
  t.operations.RemoveFolder(WithTrailingBackslash(t.F(2)), t.F(3) == "1", t.F(4) == "1");
}

void Associate(const TaskRun& t) {
  t.Status(kStatusAssociate);
  const std::string program = t.F(4);
  if (t.operations.AssociateExtension(t.F(2), t.F(3), program, program + "," + t.F(5))) {
    t.Record("ASSOCIATEEXTENSION" + kSeparator + FileNamePart(program) + kSeparator + t.F(2));
  }
}

void Disassociate(const TaskRun& t) {
  t.Status(kStatusDisassociate);
  if (!t.F(2).empty() && !t.F(3).empty()) t.operations.DisassociateExtension(t.F(2), t.F(3));
}

void StartService(const TaskRun& t) {
  if (!t.OnNt() || t.F(2).empty()) return;
  t.operations.StartServiceByName(t.F(2));
  t.Status(kStatusStartService);
}

void InstallServiceTask(const TaskRun& t) {
  if (!t.OnNt() || t.F(2).empty() || t.F(3).empty() || t.F(4).empty()) return;
  const std::string startText = t.F(6);
  const int startType = startText.size() == 1 && startText[0] >= '0' && startText[0] <= '4' ? startText[0] - '0' : 0;
  if (!t.operations.InstallService(t.F(2), t.F(3), t.F(4), t.F(5), startType)) return;
  t.Record("INSTALLSERVICE" + kSeparator + t.F(3));
  t.Status(kStatusInstallService);
}

void StopService(const TaskRun& t) {
  if (!t.OnNt() || t.F(2).empty()) return;
  t.operations.StopServiceByName(t.F(2));
  t.Status(kStatusStopService);
}

void RemoveService(const TaskRun& t) {
  if (!t.OnNt() || t.F(2).empty()) return;
  t.operations.RemoveServiceByName(t.F(2));
  t.Status(kStatusRemoveService);
}

void RegisterServerTask(const TaskRun& t) {
  if (t.F(2).empty()) return;
  t.operations.RegisterServer(t.F(2), 1);
  // Recorded even when regsvr32 couldn't start: unregistering what isn't registered is harmless.
  t.Record("REGISTERSERVER" + kSeparator + t.F(2));
  t.Status(kStatusRegisterServer);
}

void UnregisterServer(const TaskRun& t) {
  if (t.F(2).empty()) return;
  t.operations.RegisterServer(t.F(2), 0);
  t.Status(kStatusUnregisterServer);
}

void Download(const TaskRun& t) {
  const std::string url = t.F(2);
  const std::string destination = CollapseBackslashes(t.F(3));
  if (url.empty() || destination.empty()) return;
  t.operations.ShowStatus(t.session.StubTexts[kStatusDownload] + " (" + url + ")");
  t.operations.DownloadFile(destination, url);
}

void InstallFontTask(const TaskRun& t) {
  if (!t.F(2).empty() && !t.F(3).empty()) t.operations.InstallFont(t.F(2), t.F(3));
}

void Restart(const TaskRun& t) { t.operations.RestartComputer(0); }

struct TaskType {
  const char* keyword;
  void (*run)(const TaskRun&);
};

// KILLTASK is absent on purpose: the run ends those processes before unpacking.
constexpr TaskType kTaskTypes[] = {
    {"RUN", Run},
    {"REGADDVALUE", RegAddValue},
    {"REGADDKEY", RegAddKey},
    {"REGDELVALUE", RegDelValue},
    {"REGDELKEY", RegDelKey},
    {"NORMALLINK", NormalLink},
    {"INTERNETLINK", InternetLink},
    {"DELETEFILE", DeleteFileTask},
    {"MOVEFILE", MoveFileTask},
    {"COPYFILE", CopyFileTask},
    {"CREATEFOLDER", CreateFolderTask},
    {"DELETEFOLDER", DeleteFolderTask},
    {"ASSOCIATEEXTENSION", Associate},
    {"DISASSOCIATEEXTENSION", Disassociate},
    {"STARTSERVICE", StartService},
    {"INSTALLSERVICE", InstallServiceTask},
    {"STOPSERVICE", StopService},
    {"REMOVESERVICE", RemoveService},
    {"REGISTERSERVER", RegisterServerTask},
    {"UNREGISTERSERVER", UnregisterServer},
    {"DOWNLOADFILE", Download},
    {"INSTALLFONT", InstallFontTask},
    {"!REBOOT_I", Restart},
};

}  // namespace

int ExecuteTask(InstallSession& session, const TaskEntry& task, TaskOperations& operations) {
  if (!task.Line.empty()) {
    const PathContext context = operations.ExpansionContext(session);
    const std::string line = ExpandAll(task.Line, context);
    const std::string type = Field(line, 1);
    for (const TaskType& candidate : kTaskTypes) {
      if (type != candidate.keyword) continue;
      candidate.run(TaskRun{session, operations, context, task.Name, line});
      break;
    }
  }
  operations.Pause(kTaskPauseMs);
  return 1;
}

}  // namespace corvalis
