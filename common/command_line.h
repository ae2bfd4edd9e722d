// Command lines of both programs: parameters, and switches among them ("/NAME" or
// "-NAME", optionally "=value"), with names compared without regard to letter case.
// Plain code, built natively too.
#pragma once

#include <string>
#include <vector>

#include "common/run_mode.h"

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

// What both programs read alike from the switches deployment tools pass: how silent
// (/VERYSILENT /S /QUIET /QN; /SILENT /PASSIVE), the log (/LOG[=file]), the restart rules
// (/NORESTART /FORCERESTART), and switches that ask for nothing here (/SUPPRESSMSGBOXES:
// silent runs show no box anyway; /SP- /NOCANCEL /NOCLOSEAPPLICATIONS).
struct CommonSwitches {
  RunMode Mode = RunMode::Interactive;
  bool Log = false;           // /LOG, or a silent run
  std::string LogPath;        // empty: the default log path
  bool NoRestart = false;     // a needed restart is left to the user (silent runs: always)
  bool ForceRestart = false;  // a needed restart is done without asking
};

// The mode alone, from every parameter: a command line that turns out to be wrong must not
// open a window in a run that asked for none.
RunMode ModeOfSwitches(const std::vector<std::string>& parameters);

// Whether parsed is one of the common switches; when it is, *switches takes what it says,
// or *problem (when still empty) what is wrong with it.
bool ReadCommonSwitch(const CommandSwitch& parsed, CommonSwitches* switches, std::string* problem);

// After every switch is read: silent runs log and leave restarts to the user unless forced;
// a run without an interactive desktop (a service, the system account) is very silent.
void SettleCommonSwitches(CommonSwitches* switches, bool interactiveDesktop);

// NSIS' "/D=folder": the last thing on a command line, unquoted, spaces and all. Splits
// text into what stands before it and the folder; false when there is none.
bool SplitTrailingFolder(const std::string& text, std::string* before, std::string* folder);

}  // namespace corvalis
