// Script.ini and Statistics.ini as values, without touching the system.
#pragma once

#include <cstdint>
#include <string>

#include "common/ini_file.h"
#include "installer/install_session.h"

namespace corvalis {

// The script's groups, as its writer names them.
constexpr char kScriptHeaderGroup[] = "Header";
constexpr char kScriptFolderGroup[] = "Folder";
constexpr char kScriptLocalizationGroup[] = "Localization";
constexpr char kScriptLookGroup[] = "Look";
constexpr char kScriptGeneralGroup[] = "GeneralInformation";
constexpr char kScriptFilesGroup[] = "FilesAndSettings";
constexpr char kScriptInstTasksGroup[] = "InstTasks";
constexpr char kScriptUninstTasksGroup[] = "UninstTasks";
constexpr char kScriptUninstallConfigGroup[] = "uConfig";
constexpr char kScriptInstallConfigGroup[] = "iConfig";

// Every key the installer reads; missing keys give their defaults, both task groups
// give every key line in file order.
ScriptSettings ReadScriptSettings(const IniDocument& script);

// The statistics file is 8 bytes: the little-endian total of the application's
// uncompressed sizes. Fewer bytes mean a damaged package: false.
bool ParseStatistics(const std::string& bytes, std::uint64_t* requiredSpace);
// The package builder's side: the file's bytes for that total.
std::string WriteStatistics(std::uint64_t requiredSpace);

}  // namespace corvalis
