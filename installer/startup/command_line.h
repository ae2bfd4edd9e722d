// The installer's command line. Without any of the unattended switches only the first two
// parameters count: "-u <folder>" exports the application archive, two other non-empty
// parameters ask for the usage message, anything else installs. With them (see the
// README's "Unattended installation") every parameter must be one of the switches.
#pragma once

#include <string>
#include <vector>

#include "common/command_line.h"

namespace corvalis {

enum class StartAction {
  Install,
  Export,   // -u <folder>
  Usage,    // a command line the installer doesn't understand: the usage text, exit 87
  Help,     // /? or /HELP: the usage text, exit 0
};

// The mode, log and restart switches are the uninstaller's too (CommonSwitches).
struct InstallerOptions : CommonSwitches {
  StartAction Action = StartAction::Install;
  std::string ExportFolder;  // for Export
  std::string Problem;       // for Usage with switches: what is wrong with the command line
  std::string Destination;   // empty: the script's default
  std::string Group;         // empty: the script's default
  bool NoGroup = false;      // /NOICONS
  std::string Language;      // a language's display name, file name or ISO code; empty: the usual choice
};

// params: the parameters after the program's name (common/command_line.h). Any parameter
// that looks like a switch ("/x", "-x") brings in the switch rules, so an unknown one is
// refused instead of starting an installation. interactiveDesktop false: nobody could see
// a window (a service, the system account), so the run is very silent.
InstallerOptions ReadInstallerOptions(const std::string& parameters, bool interactiveDesktop = true);

}  // namespace corvalis
