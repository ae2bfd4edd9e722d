#include "installer/engine/uninstall_writer.h"

#include "common/registry_roots.h"

namespace corvalis {

namespace {

constexpr char kNoTelephone[] = "n/a";

std::vector<TaskEntry> Expanded(const std::vector<TaskEntry>& tasks, const PathContext& context) {
  std::vector<TaskEntry> expanded;
  expanded.reserve(tasks.size());
  for (const TaskEntry& task : tasks) expanded.push_back({task.Name, ExpandAll(task.Line, context)});
  return expanded;
}

}  // namespace

UninstallData SessionUninstallData(const InstallSession& session, const PathContext& context) {
  const ScriptSettings& script = session.ScriptSettings;
  UninstallData data;
  data.Texts = session.UninstallTexts;
  data.AppName = script.AppName;
  data.InstallPath = session.InstallPath;
  data.RebootRequired = script.UninstRebootRequired;
  data.SkipExtString = script.SkipExtString;
  data.InstTasks = Expanded(session.UndoLog, context);
  data.UninstTasks = Expanded(script.UninstTasks, context);
  data.Files = session.InstalledFiles;
  return data;
}

std::string UninstallEntryIcon(const InstallSession& session, const PathContext& context) {
  const ScriptSettings& script = session.ScriptSettings;
  if (script.IconExtUninst == 1 && script.IconExtCustom == 0) return session.UninstallerPath + ",0";
  if (script.IconExtUninst == 0 && script.IconExtCustom == 1) {
    return ExpandAll(script.IconExtPath, context) + "," + std::to_string(script.IconExtIndex);
  }
  return std::string();
}

int RegisterUninstallEntry(TaskOperations& operations, const std::string& displayName,
                           const std::string& publisher, const std::string& website,
                           const std::string& contact, const std::string& telephone,
                           const std::string& icon, const std::string& uninstallCommand) {
  if (displayName.empty()) return 0;
  const std::string key = kUninstallEntryKey + displayName;
  if (!operations.CreateRegistryKey(kRootLocalMachine, key)) return 0;
  const std::pair<const char*, const std::string*> values[] = {
      {"DisplayName", &displayName}, {"DisplayIcon", &icon},      {"Publisher", &publisher},
      {"URLInfoAbout", &website},    {"HelpLink", &website},      {"Contact", &contact},
      {"HelpTelephone", &telephone}, {"UninstallString", &uninstallCommand}};
  for (const auto& value : values) {
    operations.SetRegistryValue(kRootLocalMachine, key, value.first, *value.second, kRegistryText);
  }
  return 1;
}

int WriteUninstallData(const InstallSession& session, TaskOperations& operations,
                       const std::string& uninstallerImage) {
  if (!uninstallerImage.empty()) operations.WriteWholeFile(session.UninstallerPath, uninstallerImage);
  const PathContext context = operations.ExpansionContext(session);
  operations.WriteWholeFile(session.UninstallDataPath,
                            FormatUninstallData(SessionUninstallData(session, context)));
  const std::string icon = UninstallEntryIcon(session, context);
  if (!icon.empty()) {
    const ScriptSettings& script = session.ScriptSettings;
    RegisterUninstallEntry(operations, script.AppName, script.CompanyName, script.Website, script.Email,
                           kNoTelephone, icon, session.UninstallerPath);
  }
  return 1;
}

}  // namespace corvalis
