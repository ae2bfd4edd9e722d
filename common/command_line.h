// Command lines of both programs: parameters, and switches among them ("/NAME" or
// "-NAME", optionally "=value"), with names compared without regard to letter case.
// Plain code, built natively too.
#pragma once

#include <string>
#include <vector>

namespace corvalis {

// The parameters of a command line that starts after the program's own name: separated
// by spaces or tabs; double quotes group spaces into a parameter and are removed. A
// backslash is an ordinary character, so a quoted folder may end in one ("C:\App\").
std::vector<std::string> SplitParameters(const std::string& text);

// The part of a raw command line after the program's name (quoted or not).
std::string ParametersOf(const std::string& commandLine);

struct CommandSwitch {
  std::string Name;   // upper case, without the "/" or "-"
  std::string Value;  // after the first "="
  bool HasValue = false;
};

// A parameter that starts with "/" or "-" as a switch; false for any other.
bool ReadSwitch(const std::string& parameter, CommandSwitch* parsed);

// NSIS' "/D=folder": the last thing on a command line, unquoted, spaces and all. Splits
// text into what stands before it and the folder; false when there is none.
bool SplitTrailingFolder(const std::string& text, std::string* before, std::string* folder);

}  // namespace corvalis
