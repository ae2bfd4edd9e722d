#include "common/command_line.h"

#include "common/ansi_text.h"

namespace corvalis {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

std::string UpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

enum class Meaning { VerySilent, Silent, Log, NoRestart, ForceRestart, Nothing };

struct CommonSwitch {
  const char* Name;
  Meaning Means;
};

constexpr CommonSwitch kCommonSwitches[] = {
    {"VERYSILENT", Meaning::VerySilent},      {"S", Meaning::VerySilent},
    {"QUIET", Meaning::VerySilent},           {"QN", Meaning::VerySilent},
    {"SILENT", Meaning::Silent},              {"PASSIVE", Meaning::Silent},
    {"LOG", Meaning::Log},                    {"NORESTART", Meaning::NoRestart},
    {"FORCERESTART", Meaning::ForceRestart},  {"SUPPRESSMSGBOXES", Meaning::Nothing},
    {"SP-", Meaning::Nothing},                {"NOCANCEL", Meaning::Nothing},
    {"NOCLOSEAPPLICATIONS", Meaning::Nothing},
};

const CommonSwitch* FindCommonSwitch(const std::string& name) {
  for (const CommonSwitch& known : kCommonSwitches) {
    if (name == known.Name) return &known;
  }
  return nullptr;
}

}  // namespace

RunMode ModeOfSwitches(const std::vector<std::string>& parameters) {
  RunMode mode = RunMode::Interactive;
  CommandSwitch parsed;
  for (const std::string& parameter : parameters) {
    if (!ReadSwitch(parameter, &parsed) || parsed.HasValue) continue;
    const CommonSwitch* known = FindCommonSwitch(parsed.Name);
    if (known && known->Means == Meaning::VerySilent) mode = RunMode::VerySilent;
    if (known && known->Means == Meaning::Silent && mode == RunMode::Interactive) mode = RunMode::Silent;
  }
  return mode;
}

bool ReadCommonSwitch(const CommandSwitch& parsed, CommonSwitches* switches, std::string* problem) {
  const CommonSwitch* known = FindCommonSwitch(parsed.Name);
  if (!known) return false;
  if (parsed.HasValue && known->Means != Meaning::Log) {
    if (problem->empty()) *problem = "/" + parsed.Name + " takes no value";
    return true;
  }
  switch (known->Means) {
    case Meaning::VerySilent:
      switches->Mode = RunMode::VerySilent;
      break;
    case Meaning::Silent:
      if (switches->Mode == RunMode::Interactive) switches->Mode = RunMode::Silent;
      break;
    case Meaning::Log:
      switches->Log = true;
      switches->LogPath = TrimBlanks(parsed.Value);
      break;
    case Meaning::NoRestart:
      switches->NoRestart = true;
      break;
    case Meaning::ForceRestart:
      switches->ForceRestart = true;
      break;
    case Meaning::Nothing:
      break;
  }
  return true;
}

void SettleCommonSwitches(CommonSwitches* switches, bool interactiveDesktop) {
  if (!interactiveDesktop) switches->Mode = RunMode::VerySilent;
  if (switches->Mode != RunMode::Interactive) {
    switches->Log = true;
    switches->NoRestart = true;
  }
  if (switches->ForceRestart) switches->NoRestart = false;
}

std::vector<std::string> SplitParameters(const std::string& text) {
  std::vector<std::string> parameters;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i == text.size()) break;
    std::string parameter;
    bool quoted = false;
    for (; i < text.size() && (quoted || !IsSpace(text[i])); ++i) {
      if (text[i] == '"') {
        quoted = !quoted;
      } else {
        parameter += text[i];
      }
    }
    parameters.push_back(parameter);
  }
  return parameters;
}

std::string ParametersOf(const std::string& commandLine) {
  std::size_t i = 0;
  while (i < commandLine.size() && IsSpace(commandLine[i])) ++i;
  bool quoted = false;
  for (; i < commandLine.size() && (quoted || !IsSpace(commandLine[i])); ++i) {
    if (commandLine[i] == '"') quoted = !quoted;
  }
  return commandLine.substr(i);
}

bool ReadSwitch(const std::string& parameter, CommandSwitch* parsed) {
  if (parameter.size() < 2 || (parameter[0] != '/' && parameter[0] != '-')) return false;
  const std::size_t equals = parameter.find('=');
  parsed->Name = UpperAscii(parameter.substr(1, equals == std::string::npos ? std::string::npos : equals - 1));
  parsed->HasValue = equals != std::string::npos;
  parsed->Value = parsed->HasValue ? parameter.substr(equals + 1) : std::string();
  return !parsed->Name.empty();
}

bool SplitTrailingFolder(const std::string& text, std::string* before, std::string* folder) {
  bool quoted = false;
  for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    const bool starts = i == 0 || IsSpace(text[i - 1]);
    if (quoted || !starts || text[i] != '/' || (text[i + 1] != 'D' && text[i + 1] != 'd') || text[i + 2] != '=') {
      continue;
    }
    *before = text.substr(0, i);
    *folder = TrimBlanks(text.substr(i + 3));
    return true;
  }
  return false;
}

}  // namespace corvalis
