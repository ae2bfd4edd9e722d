#include "common/uninstall_data.h"

#include "common/ansi_text.h"
#include "common/ini_file.h"

namespace corvalis {

namespace {

using KeyList = std::vector<std::pair<std::string, std::string>>;

void SetKey(KeyList* keys, const std::string& name, const std::string& value) {
  for (auto& key : *keys) {
    if (EqualsNoCase(key.first, name)) {
      key.second = value;
      return;
    }
  }
  keys->emplace_back(name, value);
}

void AppendGroup(std::string* out, const char* group, const KeyList& pairs) {
  KeyList keys;
  for (const auto& pair : pairs) SetKey(&keys, pair.first, pair.second);
  if (keys.empty()) return;
  *out += std::string("[") + group + "]\r\n";
  for (const auto& key : keys) *out += key.first + " = " + key.second + "\r\n";
}

KeyList FromTasks(const std::vector<TaskEntry>& tasks) {
  KeyList keys;
  for (const TaskEntry& task : tasks) keys.emplace_back(task.Name, task.Line);
  return keys;
}

}  // namespace

std::string FormatUninstallData(const UninstallData& data) {
  std::string out;
  AppendGroup(&out, kUninstallTextsGroup, data.Texts);
  AppendGroup(&out, kUninstallConfigGroup,
              {{kUninstallAppNameKey, data.AppName},
               {kUninstallInstallPathKey, data.InstallPath},
               {kUninstallRebootKey, std::to_string(data.RebootRequired)},
               {kUninstallSkipExtKey, data.SkipExtString}});
  AppendGroup(&out, kUninstallInstTasksGroup, FromTasks(data.InstTasks));
  AppendGroup(&out, kUninstallUninstTasksGroup, FromTasks(data.UninstTasks));
  KeyList files;
  for (std::size_t i = 0; i < data.Files.size(); ++i) {
    files.emplace_back(kUninstallFileKeyPrefix + std::to_string(i), data.Files[i]);
  }
  AppendGroup(&out, kUninstallFilesGroup, files);
  return out;
}

UninstallData ParseUninstallData(const std::string& bytes) {
  const IniDocument document = ParseIni(bytes);
  UninstallData data;
  if (const IniGroup* texts = FindGroup(document, kUninstallTextsGroup)) {
    for (const IniKey& key : texts->Keys) data.Texts.emplace_back(key.Name, key.Value);
  }
  data.AppName = GetIniValue(document, kUninstallConfigGroup, kUninstallAppNameKey);
  data.InstallPath = GetIniValue(document, kUninstallConfigGroup, kUninstallInstallPathKey);
  data.RebootRequired =
      static_cast<int>(ParseInteger(GetIniValue(document, kUninstallConfigGroup, kUninstallRebootKey)));
  data.SkipExtString = GetIniValue(document, kUninstallConfigGroup, kUninstallSkipExtKey);
  data.InstTasks = ReadTaskList(document, kUninstallInstTasksGroup);
  data.UninstTasks = ReadTaskList(document, kUninstallUninstTasksGroup);
  for (const TaskEntry& file : ReadTaskList(document, kUninstallFilesGroup)) data.Files.push_back(file.Line);
  return data;
}

}  // namespace corvalis
