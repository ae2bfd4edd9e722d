// The installer's command line. Without any of the unattended switches only the first two
// parameters count: "-u <folder>" exports the application archive, two other non-empty
// parameters ask for the usage message, anything else installs. With them (see the
// README's "Unattended installation") every parameter must be one of the switches.
#pragma once

#include <string>
#include <vector>

#include "common/run_mode.h"

namespace corvalis {

enum class StartAction {
  Install,
  Export,   // -u <folder>
  Usage,    // a command line the installer doesn't understand: the usage text, exit 87
  Help,     // /? or /HELP: the usage text, exit 0
};

struct InstallerOptions {
  StartAction Action = StartAction::Install;
  std::string ExportFolder;  // for Export
  std::string Problem;       // for Usage with switches: what is wrong with the command line
  RunMode Mode = RunMode::Interactive;
  std::string Destination;   // empty: the script's default
  std::string Group;         // empty: the script's default
  bool NoGroup = false;      // /NOICONS
  std::string Language;      // a language's display name; empty: the usual choice
  bool Log = false;          // /LOG, or a silent run
  std::string LogPath;       // empty: the default log path
  bool NoRestart = false;    // a needed restart is left to the user (silent runs: always)
  bool ForceRestart = false; // a needed restart is done without asking
};

// params: the parameters after the program's name (common/command_line.h).
InstallerOptions ReadInstallerOptions(const std::string& parameters);

}  // namespace corvalis
