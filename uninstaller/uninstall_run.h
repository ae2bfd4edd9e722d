// The uninstaller's two stages over UninstallOperations: stage 1 starts a copy of the
// program in the temporary folder, stage 2 (that copy) removes the installation.
#pragma once

#include <cstdint>
#include <string>

#include "uninstaller/uninstall_operations.h"
#include "uninstaller/uninstall_session.h"

namespace corvalis {

constexpr const char* kScriptMissingText = "The uninstallation script is missing!";
constexpr const char* kCopyFailedText =
    "Could not start the uninstallation procedure (copy to temporary directory failed or script not found). "
    "Please restart your PC and try again.";
constexpr const char* kTempFolderFullText = "There is not enough space on the disk of the temporary folder.";
constexpr std::uint32_t kTempCopyNumberMax = 77777777;

// Stage 1: copies the program and its data file to the temporary folder and starts the
// copy, with the switches of options. A silent run waits for the copy and returns its
// exit code, so that whoever waits for stage 1 finds the installation gone; otherwise 0
// once the copy runs. 1603 when it can't be started.
int StartFromTempCopy(UninstallOperations& ops, const UninstallerOptions& options);

// Stage 2, started with the installed data file's and program's paths (options). Ends
// with the copy's data file deleted and SelfDelete, unless the data file can't be read.
// The exit code: 0, 1602 when the user said No, 3010 or 1641 for a restart, 1603 when
// the data file can't be read.
int RunUninstallation(UninstallOperations& ops, const UninstallerOptions& options);

// The progress window and every removal step, from the uninstallation tasks to the
// restart question or the success message; the exit code as RunUninstallation's.
int RemoveInstallation(UninstallSession& session, UninstallOperations& ops);

// Every subfolder of folder, at any depth, appended to FoldersToRemove (parents first).
void ListSubfolders(UninstallSession& session, UninstallOperations& ops, const std::string& folder);
// The bytes of every file below folder, at any depth.
std::uint64_t FolderContentSize(UninstallOperations& ops, const std::string& folder);

}  // namespace corvalis
