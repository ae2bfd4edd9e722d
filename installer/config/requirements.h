// The decisions behind the system-requirement checks, as plain functions.
#pragma once

#include <string>

#include "installer/install_session.h"

namespace corvalis {

// The text that refuses this system: kTextUnsupportedSystem, kTextSystemExcluded (by the
// script's switches), or 0 when the system is allowed.
int OsRefusalMessageKey(int osVersionCode, const ScriptSettings& settings);

// "1".."5" -> "1.0", "1.1", "2.0", "3.0", "3.5"; any other text requires none ("").
std::string RequiredFrameworkVersion(const std::string& dotNet);

// missingText + " " + version + "."
std::string FrameworkMissingMessage(const std::string& missingText, const std::string& version);

// The address to open when the framework is missing: "" for none (empty, or only
// the scheme), else the value with "http://" put in front unless it already starts
// with it (or with "https://") in any letter case.
std::string DependencyAddressToOpen(const std::string& runIfDepNotFound);

// A framework version folder such as "v2.0.50727" stands for version "2.0": three
// characters from the second one, trimmed of spaces.
bool FrameworkFolderMatches(const std::string& folderName, const std::string& version);

}  // namespace corvalis
