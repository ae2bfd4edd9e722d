#include "installer/engine/uninstall_writer.h"

#include "common/exit_codes.h"
#include "common/registry_roots.h"

namespace corvalis {

namespace {

constexpr char kNoTelephone[] = "n/a";
const std::string kOne = "1";

// The first task whose expansion would add a field lands in *unexpandable (when it is empty):
// stored, it would read back as another record.
std::vector<TaskEntry> Expanded(const std::vector<TaskEntry>& tasks, const PathContext& context,
                                std::string* unexpandable) {
  std::vector<TaskEntry> expanded;
  expanded.reserve(tasks.size());
  for (const TaskEntry& task : tasks) {
    std::string line;
    if (!ExpandTaskLine(task.Line, context, &line)) {
      if (unexpandable && unexpandable->empty()) *unexpandable = task.Name;
      line = task.Line;
    }
    expanded.push_back({task.Name, line});
  }
  return expanded;
}

}  // namespace

UninstallData SessionUninstallData(const InstallSession& session, const PathContext& context,
                                   std::string* unexpandable) {
  const ScriptSettings& script = session.ScriptSettings;
  UninstallData data;
  data.Texts = session.UninstallTexts;
  data.AppName = script.AppName;
  data.InstallPath = session.InstallPath;
  data.RebootRequired = script.UninstRebootRequired;
  data.SkipExtString = script.SkipExtString;
  data.InstTasks = Expanded(session.UndoLog, context, unexpandable);
  data.UninstTasks = Expanded(script.UninstTasks, context, unexpandable);
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

UninstallEntry SessionUninstallEntry(const InstallSession& session, const std::string& icon,
                                     const std::string& installDate) {
  const ScriptSettings& script = session.ScriptSettings;
  UninstallEntry entry;
  entry.DisplayName = script.AppName;
  entry.Icon = icon;
  entry.Publisher = script.CompanyName;
  entry.Website = script.Website;
  entry.Contact = script.Email;
  entry.Telephone = kNoTelephone;
  // Unquoted, a path with spaces would let "C:\Program.exe" run in its place.
  entry.UninstallCommand = "\"" + session.UninstallerPath + "\"";
  entry.QuietUninstallCommand = entry.UninstallCommand + " /VERYSILENT";
  entry.DisplayVersion = script.Version;
  entry.InstallLocation = session.InstallPath;
  entry.InstallDate = installDate;
  entry.EstimatedSizeKiB = (session.RequiredSpace + 1023) / 1024;
  return entry;
}

int RegisterUninstallEntry(TaskOperations& operations, const UninstallEntry& entry) {
  if (entry.DisplayName.empty()) return 0;
  const std::string key = kUninstallEntryKey + entry.DisplayName;
  if (!operations.CreateRegistryKey(kRootLocalMachine, key)) return 0;
  constexpr std::uint64_t kLargestNumber = 0xFFFFFFFFu;
  const std::string size = std::to_string(entry.EstimatedSizeKiB < kLargestNumber ? entry.EstimatedSizeKiB : kLargestNumber);
  const struct {
    const char* name;
    const std::string& value;
    int type;
  } values[] = {
      {"DisplayName", entry.DisplayName, kRegistryText},
      {"DisplayIcon", entry.Icon, kRegistryText},
      {"Publisher", entry.Publisher, kRegistryText},
      {"URLInfoAbout", entry.Website, kRegistryText},
      {"HelpLink", entry.Website, kRegistryText},
      {"Contact", entry.Contact, kRegistryText},
      {"HelpTelephone", entry.Telephone, kRegistryText},
      {"UninstallString", entry.UninstallCommand, kRegistryText},
      {"QuietUninstallString", entry.QuietUninstallCommand, kRegistryText},
      {"DisplayVersion", entry.DisplayVersion, kRegistryText},
      {"InstallLocation", entry.InstallLocation, kRegistryText},
      {"EstimatedSize", size, kRegistryNumber},
      {"InstallDate", entry.InstallDate, kRegistryText},
      {"NoModify", kOne, kRegistryNumber},
      {"NoRepair", kOne, kRegistryNumber},
  };
  for (const auto& value : values) operations.SetRegistryValue(kRootLocalMachine, key, value.name, value.value, value.type);
  return 1;
}

int WriteUninstallData(const InstallSession& session, TaskOperations& operations,
                       const std::string& uninstallerImage, const std::string& installDate) {
  const PathContext context = operations.ExpansionContext(session);
  std::string unexpandable;
  const UninstallData data = SessionUninstallData(session, context, &unexpandable);
  const std::string unstorable = unexpandable.empty() ? UnstorableValue(data) : "the task " + unexpandable;
  if (!unstorable.empty()) {
    operations.Log("uninstall data can't hold " + unstorable);
    return kExitFailure;
  }
  unsigned long error = 0;
  if (!uninstallerImage.empty() && !operations.WriteWholeFile(session.UninstallerPath, uninstallerImage, &error)) {
    operations.Log("can't write " + session.UninstallerPath + " (error " + std::to_string(error) + ")");
    return WriteFailureExitCode(error);
  }
  if (!operations.WriteWholeFile(session.UninstallDataPath, FormatUninstallData(data), &error)) {
    operations.Log("can't write " + session.UninstallDataPath + " (error " + std::to_string(error) + ")");
    if (!uninstallerImage.empty()) operations.RemoveFile(session.UninstallerPath);
    return WriteFailureExitCode(error);
  }
  const std::string icon = UninstallEntryIcon(session, context);
  if (!icon.empty()) RegisterUninstallEntry(operations, SessionUninstallEntry(session, icon, installDate));
  return kExitSuccess;
}

}  // namespace corvalis
