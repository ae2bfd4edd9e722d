// The installer's command line: only the first two parameters count.
#pragma once

#include <string>
#include <vector>

namespace corvalis {

enum class StartAction { Install, Export, Usage };

struct CommandLineChoice {
  StartAction action = StartAction::Install;
  std::string exportFolder;  // parameter 2 for Export
};

// params: the parameters after the program name.
CommandLineChoice ParseCommandLine(const std::vector<std::string>& params);

}  // namespace corvalis
