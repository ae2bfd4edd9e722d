#include "common/uninstall_data.h"

#include <map>
#include <set>

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

// Task lists keep every entry: a name already taken gets the first free number appended
// ("Reg", "Reg2", "Reg3"), since each of them stands for something to undo or to run.
// Keys are only ever added, so the search for a name goes on where it last stopped.
class TaskKeys {
 public:
  void Add(const std::string& name, const std::string& value) {
    const std::string lower = ToLowerAnsi(name);
    std::string key = name;
    if (taken_.count(lower)) {
      int& number = nextNumber_[lower];
      if (number < 2) number = 2;
      while (taken_.count(lower + std::to_string(number))) ++number;
      key = name + std::to_string(number);
    }
    taken_.insert(ToLowerAnsi(key));
    keys_.emplace_back(key, value);
  }
  const KeyList& keys() const { return keys_; }

 private:
  KeyList keys_;
  std::set<std::string> taken_;
  std::map<std::string, int> nextNumber_;
};

void WriteGroup(std::string* out, const char* group, const KeyList& keys) {
  if (keys.empty()) return;
  *out += std::string("[") + group + "]\r\n";
  for (const auto& key : keys) *out += key.first + " = " + key.second + "\r\n";
}

void AppendGroup(std::string* out, const char* group, const KeyList& pairs) {
  KeyList keys;
  for (const auto& pair : pairs) SetKey(&keys, pair.first, pair.second);
  WriteGroup(out, group, keys);
}

void AppendTaskGroup(std::string* out, const char* group, const std::vector<TaskEntry>& tasks) {
  TaskKeys keys;
  for (const TaskEntry& task : tasks) keys.Add(task.Name, task.Line);
  WriteGroup(out, group, keys.keys());
}

bool StoresAsIs(const std::string& text) {
  if (text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos) return false;
  return text.empty() || (TrimBlanks(text).size() == text.size());
}

bool StoresAsName(const std::string& name) {
  return !name.empty() && StoresAsIs(name) && name.find('=') == std::string::npos && name[0] != '[' &&
         name[0] != ';';
}

}  // namespace

std::string UnstorableValue(const UninstallData& data) {
  std::string found;
  const auto check = [&found](const char* group, const std::string& name, const std::string& value) {
    if (found.empty() && (!StoresAsName(name) || !StoresAsIs(value))) found = std::string(group) + ": " + name;
  };
  for (const auto& text : data.Texts) check(kUninstallTextsGroup, text.first, text.second);
  check(kUninstallConfigGroup, kUninstallAppNameKey, data.AppName);
  check(kUninstallConfigGroup, kUninstallInstallPathKey, data.InstallPath);
  check(kUninstallConfigGroup, kUninstallSkipExtKey, data.SkipExtString);
  for (const TaskEntry& task : data.InstTasks) check(kUninstallInstTasksGroup, task.Name, task.Line);
  for (const TaskEntry& task : data.UninstTasks) check(kUninstallUninstTasksGroup, task.Name, task.Line);
  for (const std::string& file : data.Files) check(kUninstallFilesGroup, kUninstallFileKeyPrefix, file);
  return found;
}

std::string FormatUninstallData(const UninstallData& data) {
  std::string out;
  AppendGroup(&out, kUninstallTextsGroup, data.Texts);
  AppendGroup(&out, kUninstallConfigGroup,
              {{kUninstallAppNameKey, data.AppName},
               {kUninstallInstallPathKey, data.InstallPath},
               {kUninstallRebootKey, std::to_string(data.RebootRequired)},
               {kUninstallSkipExtKey, data.SkipExtString}});
  AppendTaskGroup(&out, kUninstallInstTasksGroup, data.InstTasks);
  AppendTaskGroup(&out, kUninstallUninstTasksGroup, data.UninstTasks);
  KeyList files;
  for (std::size_t i = 0; i < data.Files.size(); ++i) {
    files.emplace_back(kUninstallFileKeyPrefix + std::to_string(i), data.Files[i]);
  }
  WriteGroup(&out, kUninstallFilesGroup, files);  // numbered, so unique already
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

std::string UninstallerFilePath(const std::string& folder, int k, const char* extension) {
  return folder + "Uninst" + std::to_string(k) + extension;
}

void AdoptInstallation(UninstallData* data, const UninstallData& other, const std::string& programPath,
                       const std::string& dataPath) {
  // The map type the INI reader has instantiated already: another costs the programs kilobytes.
  std::map<std::string, std::size_t> seen;
  for (const TaskEntry& task : data->InstTasks) seen.emplace(task.Line, 0);
  for (const TaskEntry& task : other.InstTasks) {
    if (seen.emplace(task.Line, 0).second) data->InstTasks.push_back(task);
  }
  seen.clear();
  for (const std::string& file : data->Files) seen.emplace(ToLowerAnsi(file), 0);
  std::vector<std::string> otherFiles = other.Files;
  otherFiles.push_back(programPath);
  otherFiles.push_back(dataPath);
  for (const std::string& file : otherFiles) {
    if (seen.emplace(ToLowerAnsi(file), 0).second) data->Files.push_back(file);
  }
}

}  // namespace corvalis
