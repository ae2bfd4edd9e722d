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

}  // namespace

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
