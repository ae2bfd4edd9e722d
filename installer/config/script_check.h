// The package builder's look at a script before it goes into a package: warnings
// only, the build goes on.
#pragma once

#include <string>
#include <vector>

namespace corvalis {

// Unknown groups, keys outside any group, lines that are no key line, unknown task
// types, task lines with fewer fields than their type reads and program values that hold
// a token. Each warning starts with "line N: ".
std::vector<std::string> CheckScriptText(const std::string& bytes);

}  // namespace corvalis
