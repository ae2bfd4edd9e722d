#pragma once

#include <string>

namespace corvalis {

// Reads the language file and the script, checks the requirements, runs the wizard and
// the installation, and ends the process itself.
[[noreturn]] void RunSetup(const std::string& languageFile);

}  // namespace corvalis
