#include "installer/config/script_check.h"

#include <algorithm>
#include <utility>

#include "common/ini_file.h"
#include "common/path_variables.h"
#include "common/task_types.h"
#include "installer/config/script_reader.h"

namespace corvalis {

namespace {

// The program values that tokens expand into: a token inside one of them expands again
// every round.
constexpr const char* kProgramValueKeys[] = {"AppName", "Version", "CompanyName", "Website", "Email"};

constexpr const char* kKnownGroups[] = {
    kScriptHeaderGroup,  kScriptFolderGroup, kScriptLocalizationGroup, kScriptLookGroup,
    kScriptGeneralGroup, kScriptFilesGroup,  kScriptInstTasksGroup,    kScriptUninstTasksGroup,
    kScriptUninstallConfigGroup, kScriptInstallConfigGroup};

using Warnings = std::vector<std::pair<int, std::string>>;  // (line, text)

std::string At(int line) { return "line " + std::to_string(line) + ": "; }

void CheckTasks(const IniGroup& group, TaskList list, Warnings& warnings) {
  std::size_t typeCount = 0;
  const TaskTypeInfo* types = TaskTypes(list, &typeCount);
  std::vector<std::string> seen;
  for (const IniKey& key : group.Keys) {
    const std::string where = At(key.LineNumber) + "task \"" + key.Name + "\" in [" +
                              group.Name + "]: ";
    for (const std::string& name : seen) {
      if (EqualsNoCase(name, key.Name)) {
        warnings.emplace_back(key.LineNumber, where + "the name is used twice");
        break;
      }
    }
    seen.push_back(key.Name);

    if (key.Value.empty()) {
      warnings.emplace_back(key.LineNumber, where + "empty task line");
      continue;
    }
    const std::string type = Field(key.Value, 1);
    const TaskTypeInfo* known = FindTaskType(list, type);
    bool otherCase = false;
    for (std::size_t i = 0; i < typeCount; ++i) otherCase = otherCase || EqualsNoCase(type, types[i].Keyword);
    if (!known) {
      warnings.emplace_back(key.LineNumber, where + "unknown task type \"" + type + "\"" +
                         (otherCase ? " (task types are upper case)" : ""));
      continue;
    }
    const int fields = FieldCount(key.Value);
    if (fields < known->Fields) {
      warnings.emplace_back(key.LineNumber, where + type + " takes " + std::to_string(known->Fields) +
                         " fields, the line has " + std::to_string(fields));
    }
  }
}

}  // namespace

std::vector<std::string> CheckScriptText(const std::string& bytes) {
  const IniDocument script = ParseIni(bytes);
  Warnings warnings;

  for (const IniStrayLine& stray : script.StrayLines) {
    const bool inTasks =
        EqualsNoCase(stray.Group, kScriptInstTasksGroup) || EqualsNoCase(stray.Group, kScriptUninstTasksGroup);
    warnings.emplace_back(stray.LineNumber, At(stray.LineNumber) +
                       (inTasks ? "malformed task line (name = task line): \""
                                : "not a key line (name = value): \"") +
                       stray.Text + "\"");
  }

  for (const IniGroup& group : script.Groups) {
    if (group.LineNumber == 0) {
      for (const IniKey& key : group.Keys) {
        warnings.emplace_back(key.LineNumber, At(key.LineNumber) + "key \"" + key.Name +
                           "\" stands before any group and is not read");
      }
      continue;
    }
    bool known = false;
    for (const char* name : kKnownGroups) known = known || EqualsNoCase(group.Name, name);
    if (!known) {
      warnings.emplace_back(group.LineNumber, At(group.LineNumber) + "unknown group [" + group.Name + "]");
    } else if (EqualsNoCase(group.Name, kScriptGeneralGroup)) {
      for (const IniKey& key : group.Keys) {
        for (const char* name : kProgramValueKeys) {
          if (EqualsNoCase(key.Name, name) && HoldsExpansionToken(key.Value)) {
            warnings.emplace_back(key.LineNumber, At(key.LineNumber) + "key \"" + key.Name +
                                                      "\" holds a path variable or placeholder");
          }
        }
      }
    } else if (EqualsNoCase(group.Name, kScriptInstTasksGroup)) {
      CheckTasks(group, TaskList::Install, warnings);
    } else if (EqualsNoCase(group.Name, kScriptUninstTasksGroup)) {
      CheckTasks(group, TaskList::Uninstall, warnings);
    }
  }
  std::stable_sort(warnings.begin(), warnings.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> texts;
  for (auto& w : warnings) texts.push_back(std::move(w.second));
  return texts;
}

}  // namespace corvalis
