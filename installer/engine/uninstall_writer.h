// What the installer leaves for its uninstaller at "Finish": the data file beside it and
// the entry in the system's list of installed programs.
#pragma once

#include <cstdint>
#include <string>

#include "common/path_variables.h"
#include "common/uninstall_data.h"
#include "installer/engine/task_operations.h"
#include "installer/install_session.h"

namespace corvalis {

// The data file's content as the session holds it: the task lines expanded in context. A
// task whose expansion would add a field is named in *unexpandable (when given and empty)
// and kept unexpanded.
UninstallData SessionUninstallData(const InstallSession& session, const PathContext& context,
                                   std::string* unexpandable = nullptr);

// The uninstall entry's icon as the script's switches choose it; empty: no entry.
std::string UninstallEntryIcon(const InstallSession& session, const PathContext& context);

// The values of the uninstall entry, as Windows' list of installed programs, winget and
// Intune read them.
struct UninstallEntry {
  std::string DisplayName;
  std::string Icon;
  std::string Publisher;
  std::string Website;  // both "URLInfoAbout" and "HelpLink"
  std::string Contact;
  std::string Telephone;
  std::string UninstallCommand;       // the uninstaller's path, quoted
  std::string QuietUninstallCommand;  // the same with /VERYSILENT
  std::string DisplayVersion;
  std::string InstallLocation;
  std::string InstallDate;  // yyyymmdd
  std::uint64_t EstimatedSizeKiB = 0;
};

// The entry of this installation, with that icon, installed on installDate (yyyymmdd).
UninstallEntry SessionUninstallEntry(const InstallSession& session, const std::string& icon,
                                     const std::string& installDate);

// HKEY_LOCAL_MACHINE "...\Uninstall\" + DisplayName with its values: the eight texts
// from DisplayName to UninstallString, then QuietUninstallString, DisplayVersion,
// InstallLocation, EstimatedSize, InstallDate, NoModify and NoRepair. 0 when the key can't
// be created or opened, and for an empty name, which would name the list itself.
int RegisterUninstallEntry(TaskOperations& operations, const UninstallEntry& entry);

// Writes the uninstaller program (uninstallerImage, byte for byte; nothing when it is
// empty) at UninstallerPath, the data file at UninstallDataPath and, only once both are
// written whole and when the switches ask for it, the uninstall entry, dated installDate.
// kExitSuccess, or the failure's exit code (112 for a full volume, else 1603) with nothing
// of the two files left: also for data that can't be stored as it is (UnstorableValue).
int WriteUninstallData(const InstallSession& session, TaskOperations& operations,
                       const std::string& uninstallerImage, const std::string& installDate);

}  // namespace corvalis
