// The uninstall data file "Uninst<k>.dat": the installer writes it at "Finish", the
// uninstaller reads it. Both sides live here so the format cannot drift apart.
//
// ANSI text without a byte-order mark, lines ending in CR LF, "[group]" lines and
// "key = value" lines, no blank lines or comments. Groups in the order below; a group
// without keys is not written. Within a group keys are unique without regard to case: a
// second key of a name replaces the first one's value at the first one's place, except in
// the two task groups, where it is kept under its name with a number appended.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "common/task_line.h"

namespace corvalis {

constexpr char kUninstallTextsGroup[] = "LocalizationUninstall";
constexpr char kUninstallConfigGroup[] = "uConfig";
constexpr char kUninstallInstTasksGroup[] = "InstTasks";
constexpr char kUninstallUninstTasksGroup[] = "UninstTasks";
constexpr char kUninstallFilesGroup[] = "Files";

constexpr char kUninstallAppNameKey[] = "AppName";
constexpr char kUninstallInstallPathKey[] = "InstallPath";
constexpr char kUninstallRebootKey[] = "RebootRequired";
constexpr char kUninstallSkipExtKey[] = "SkipExtString";
constexpr char kUninstallFileKeyPrefix[] = "CopyFile";  // + 0, 1, 2, ...

// The uninstall entry: this + AppName below HKEY_LOCAL_MACHINE, in the system's list of
// installed programs.
constexpr char kUninstallEntryKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// The k-th installation's uninstaller in folder (ending in "\"): "Uninst<k>.exe", its data
// file "Uninst<k>.dat" (extension ".exe" or ".dat").
std::string UninstallerFilePath(const std::string& folder, int k, const char* extension);

// What an undo record of the [InstTasks] group stands for. A record is a task line whose
// keyword names the task that made the change:
//   RegistryValue, RegistryKey  the REGADDVALUE or REGADDKEY line itself
//   LinkFile        NORMALLINK¶<link or internet shortcut file> (INTERNETLINK is read too)
//   CopiedFile      COPYFILE¶<the copy>
//   DownloadedFile  DOWNLOADFILE¶<address>¶<file> (read; the installer doesn't record it)
//   Folder          CREATEFOLDER¶<folder>
//   Association     ASSOCIATEEXTENSION¶<program file name>¶<extension>
//   Service         INSTALLSERVICE¶<display name>
//   Server          REGISTERSERVER¶<server file>
enum class UndoKind {
  None,
  RegistryValue,
  RegistryKey,
  LinkFile,
  CopiedFile,
  DownloadedFile,
  Folder,
  Association,
  Service,
  Server,
};
// The records' keywords are task keywords: UndoKindOf and UndoRecord (common/task_types.h)
// read and write them.

// What the file holds. Lines are stored as written: the installer expands them before.
struct UninstallData {
  std::vector<std::pair<std::string, std::string>> Texts;  // (key, text), file order
  std::string AppName;
  std::string InstallPath;  // ends in "\"
  int RebootRequired = 0;
  std::string SkipExtString;
  std::vector<TaskEntry> InstTasks;    // the undo log
  std::vector<TaskEntry> UninstTasks;  // the script's uninstallation tasks
  std::vector<std::string> Files;      // full paths, unpacking order
};

// The file's bytes.
std::string FormatUninstallData(const UninstallData& data);

// The first name or value that FormatUninstallData can't store so that ParseUninstallData
// reads it back the same ("InstTasks: Copy"), empty when there is none. A CR, LF or NUL,
// blanks at either end, and for names also "=" or a leading "[" or ";" would make the
// reader trim a value, end it early or read a second record out of it.
std::string UnstorableValue(const UninstallData& data);

// Another installation of the same product into the same folder (an upgrade leaves the
// earlier one's files beside its own): its records join data's after data's own (none
// twice), and its uninstaller program and data file (programPath, dataPath) become files
// to delete, so that removing one removes everything of the product there.
void AdoptInstallation(UninstallData* data, const UninstallData& other, const std::string& programPath,
                       const std::string& dataPath);

// The reading side; keys it doesn't know are ignored, missing ones stay empty (0).
UninstallData ParseUninstallData(const std::string& bytes);

}  // namespace corvalis
