#include "installer/config/script_check.h"

#include <algorithm>
#include <utility>

#include "common/ini_file.h"
#include "common/path_variables.h"

namespace corvalis {

namespace {

struct TaskType {
  const char* Name;
  int Fields;  // including the type itself
};

// What the installer's task executor understands.
constexpr TaskType kInstallTaskTypes[] = {
    {"RUN", 7},          {"REGADDVALUE", 6},           {"REGADDKEY", 5},
    {"REGDELVALUE", 5},  {"REGDELKEY", 5},             {"NORMALLINK", 7},
    {"INTERNETLINK", 5}, {"DELETEFILE", 2},            {"MOVEFILE", 3},
    {"COPYFILE", 3},     {"CREATEFOLDER", 2},          {"DELETEFOLDER", 4},
    {"ASSOCIATEEXTENSION", 5}, {"DISASSOCIATEEXTENSION", 3}, {"STARTSERVICE", 2},
    {"INSTALLSERVICE", 6}, {"STOPSERVICE", 2},         {"REMOVESERVICE", 2},
    {"REGISTERSERVER", 2}, {"UNREGISTERSERVER", 2},    {"DOWNLOADFILE", 3},
    {"INSTALLFONT", 3},  {"!REBOOT_I", 1},             {"KILLTASK", 2},
};

// What the uninstaller runs before it undoes the installation.
constexpr TaskType kUninstallTaskTypes[] = {{"RUN", 5}, {"LAUNCHBROWSER", 2}};

// The program values that tokens expand into: a token inside one of them expands again
// every round.
constexpr const char* kProgramValueKeys[] = {"AppName", "Version", "CompanyName", "Website", "Email"};

constexpr const char* kKnownGroups[] = {
    "Header", "Folder", "Localization", "Look", "GeneralInformation", "FilesAndSettings",
    "InstTasks", "UninstTasks", "uConfig", "iConfig"};

using Warnings = std::vector<std::pair<int, std::string>>;  // (line, text)

std::string At(int line) { return "line " + std::to_string(line) + ": "; }

template <std::size_t N>
void CheckTasks(const IniGroup& group, const TaskType (&types)[N],
                Warnings& warnings) {
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
    const TaskType* known = nullptr;
    bool otherCase = false;
    for (const TaskType& t : types) {
      if (type == t.Name) known = &t;
      if (EqualsNoCase(type, t.Name)) otherCase = true;
    }
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
        EqualsNoCase(stray.Group, "InstTasks") || EqualsNoCase(stray.Group, "UninstTasks");
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
    } else if (EqualsNoCase(group.Name, "GeneralInformation")) {
      for (const IniKey& key : group.Keys) {
        for (const char* name : kProgramValueKeys) {
          if (EqualsNoCase(key.Name, name) && HoldsExpansionToken(key.Value)) {
            warnings.emplace_back(key.LineNumber, At(key.LineNumber) + "key \"" + key.Name +
                                                      "\" holds a path variable or placeholder");
          }
        }
      }
    } else if (EqualsNoCase(group.Name, "InstTasks")) {
      CheckTasks(group, kInstallTaskTypes, warnings);
    } else if (EqualsNoCase(group.Name, "UninstTasks")) {
      CheckTasks(group, kUninstallTaskTypes, warnings);
    }
  }
  std::stable_sort(warnings.begin(), warnings.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> texts;
  for (auto& w : warnings) texts.push_back(std::move(w.second));
  return texts;
}

}  // namespace corvalis
