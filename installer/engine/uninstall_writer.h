// What the installer leaves for its uninstaller at "Finish": the data file beside it and
// the entry in the system's list of installed programs.
#pragma once

#include <string>

#include "common/path_variables.h"
#include "common/uninstall_data.h"
#include "installer/engine/task_operations.h"
#include "installer/install_session.h"

namespace corvalis {

// The data file's content as the session holds it: the task lines expanded in context.
UninstallData SessionUninstallData(const InstallSession& session, const PathContext& context);

// The uninstall entry's icon as the script's switches choose it; empty: no entry.
std::string UninstallEntryIcon(const InstallSession& session, const PathContext& context);

// HKEY_LOCAL_MACHINE "...\Uninstall\" + displayName with its eight text values. 0 when the
// key can't be created or opened, and for an empty name, which would name the list itself.
int RegisterUninstallEntry(TaskOperations& operations, const std::string& displayName,
                           const std::string& publisher, const std::string& website,
                           const std::string& contact, const std::string& telephone,
                           const std::string& icon, const std::string& uninstallCommand);

// Writes the uninstaller program (uninstallerImage, byte for byte; nothing when it is
// empty) at UninstallerPath, the data file at UninstallDataPath and, when the switches
// ask for it, the uninstall entry. Nothing that fails stops it; returns 1.
int WriteUninstallData(const InstallSession& session, TaskOperations& operations,
                       const std::string& uninstallerImage);

}  // namespace corvalis
