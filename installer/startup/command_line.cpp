#include "installer/startup/command_line.h"

namespace corvalis {

CommandLineChoice ParseCommandLine(const std::vector<std::string>& params) {
  CommandLineChoice choice;
  if (params.size() < 2 || params[0].empty() || params[1].empty()) return choice;
  if (params[0] == "-u") {
    choice.action = StartAction::Export;
    choice.exportFolder = params[1];
  } else {
    choice.action = StartAction::Usage;
  }
  return choice;
}

}  // namespace corvalis
