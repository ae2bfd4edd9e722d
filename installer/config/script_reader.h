// Script.ini and Statistics.ini as values, without touching the system.
#pragma once

#include <cstdint>
#include <string>

#include "common/ini_file.h"
#include "installer/install_session.h"

namespace corvalis {

// Every key the installer reads; missing keys give their defaults, both task groups
// give every key line in file order.
ScriptSettings ReadScriptSettings(const IniDocument& script);

// The statistics file is 8 bytes: the little-endian total of the application's
// uncompressed sizes. Fewer bytes mean a damaged package: false.
bool ParseStatistics(const std::string& bytes, std::uint64_t* requiredSpace);

}  // namespace corvalis
