#include "installer/engine/run_installation.h"

#include <algorithm>
#include <set>

#include "common/ansi_text.h"
#include "common/task_types.h"
#include "installer/engine/task_executor.h"

namespace corvalis {

namespace {

constexpr char kPreparingStatus[] = "Preparing to install...";
constexpr char kGroupStatus[] = "Creating program groups...";

void CreateProgramGroup(InstallSession& session, const std::string& group, TaskOperations& operations) {
  const ScriptSettings& script = session.ScriptSettings;
  operations.ShowStatus(kGroupStatus);
  session.StartMenuGroupPath = WithTrailingBackslash(group);
  operations.Log("program group: " + session.StartMenuGroupPath);
  operations.CreateFolder(session.StartMenuGroupPath);
  // Recorded even when the folder was there already: the uninstaller removes it only
  // once it is empty.
  session.UndoLog.push_back({"AutoStartMenuGroup", UndoRecord(UndoKind::Folder, session.StartMenuGroupPath)});
  if (script.CreateInternetLink == 1 && !script.Website.empty()) {
    const std::string link = session.StartMenuGroupPath + "Website.url";
    if (operations.CreateInternetShortcut(script.Website, link)) {
      session.UndoLog.push_back({"AutoStartMenuInternetLink", UndoRecord(UndoKind::LinkFile, link)});
    }
  }
  if (script.CreateUninstallLink == 1) {
    const std::string link = session.StartMenuGroupPath + "Uninstall.lnk";
    if (operations.CreateShellLink(session.UninstallerPath, link, "", "", session.InstallPath, 0, 0,
                                   session.UninstallerPath, 0)) {
      session.UndoLog.push_back({"AutoStartMenuUninstallLink", UndoRecord(UndoKind::LinkFile, link)});
    }
  }
}

}  // namespace

int FreeUninstallerNumber(const std::string& installPath, InstallationFrontEnd& frontEnd) {
  int k = 0;
  while (frontEnd.PathExists(UninstallerFilePath(installPath, k, ".exe")) ||
         frontEnd.PathExists(UninstallerFilePath(installPath, k, ".dat"))) {
    ++k;
  }
  return k;
}

std::vector<std::string> KillTaskNames(const std::string& line) {
  if (TaskTypeOf(line) != TaskType::KillTask) return std::vector<std::string>();
  return SplitCommaList(Field(line, field::kKillNames));
}

int TaskProgress(std::size_t i, std::size_t n) { return n ? static_cast<int>(i * 100 / n) : 0; }

std::vector<std::string> FoldersForEntries(const std::string& installPath, const std::vector<std::string>& names) {
  std::vector<std::string> folders{installPath};
  std::set<std::string> seen;
  for (const std::string& name : names) {
    for (std::size_t slash = name.find('\\'); slash != std::string::npos; slash = name.find('\\', slash + 1)) {
      const std::string folder = installPath + name.substr(0, slash + 1);
      if (seen.insert(ToLowerAnsi(folder)).second) folders.push_back(folder);
    }
  }
  return folders;
}

std::vector<std::string> DeepestFirst(std::vector<std::string> folders) {
  SortDeepestFirst(&folders, [](const std::string& folder) -> const std::string& { return folder; });
  return folders;
}

Outcome RunInstallation(InstallSession& session, const Choices& choices, InstallationFrontEnd& frontEnd,
                        TaskOperations& operations) {
  frontEnd.ShowProgressPage();
  session.InstallPath = choices.Destination;
  const int k = FreeUninstallerNumber(session.InstallPath, frontEnd);
  session.UninstallerPath = UninstallerFilePath(session.InstallPath, k, ".exe");
  session.UninstallDataPath = UninstallerFilePath(session.InstallPath, k, ".dat");
  operations.Log("destination: " + session.InstallPath + ", uninstaller " + session.UninstallerPath);
  operations.ShowStatus(kPreparingStatus);

  // A group named with the field separator would be recorded as another folder.
  if (choices.MakeGroup && HoldsFieldSeparator(choices.Group)) {
    operations.Log("no program group: its name holds the field separator: " + choices.Group);
  } else if (choices.MakeGroup) {
    CreateProgramGroup(session, choices.Group, operations);
  }

  const std::vector<TaskEntry>& tasks = session.ScriptSettings.InstTasks;
  for (const TaskEntry& task : tasks) {
    for (const std::string& name : KillTaskNames(task.Line)) operations.KillProcessesByName(name);
  }

  const Outcome unpacked = frontEnd.UnpackProgramArchive(session);
  if (unpacked.Ends) return unpacked;
  frontEnd.SetProgress(0);

  if (!tasks.empty()) frontEnd.DisableCancel();
  for (std::size_t i = 0; i < tasks.size(); ++i) {
    frontEnd.SetProgress(TaskProgress(i, tasks.size()));
    ExecuteTask(session, tasks[i], operations);
  }
  return kGoOn;
}

}  // namespace corvalis
