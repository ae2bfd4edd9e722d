// The uninstaller's process-wide record and the plain rules it is built by: the data
// file's name, the kept extensions, folder depths, which install folders are safe to
// empty, the progress bar's position, the command lines of the two stages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/command_line.h"
#include "common/run_mode.h"
#include "common/task_line.h"
#include "common/uninstall_data.h"

namespace corvalis {

// The uninstaller's texts, Key0 .. Key7 of the language file's uninstall group.
enum UninstallText : int {
  kConfirmTitle = 0,
  kConfirmText,
  kProgressButton,
  kProgressText,
  kRestartTitle,
  kRestartText,
  kDoneTitle,
  kDoneText,
};
constexpr int kUninstallTextCount = 8;
constexpr int kProgressRange = 10;

struct FolderEntry {
  std::string FolderPath;
  int Depth = 0;  // the number of "\" in FolderPath
};

struct RegistryKeyRecord {
  std::uint32_t Root = 0;
  std::string KeyPath;
};

struct ProgramStart {
  std::string Program;
  std::string Parameters;
};

// The uninstaller's command line: the two paths stage 1 gives stage 2, and the switches it
// shares with the installer (common/command_line.h), so that a deployment tool's line for
// one works for the other.
struct UninstallerOptions : CommonSwitches {
  std::string InstalledDataPath;     // empty: stage 1
  std::string InstalledProgramPath;
  std::string Problem;   // what is wrong with the command line; empty when nothing is
};

// params: the parameters after the program's name. interactiveDesktop false: very silent.
UninstallerOptions ReadUninstallerOptions(const std::string& parameters, bool interactiveDesktop = true);
// The switches stage 1 hands on to stage 2 (" /VERYSILENT /LOG=\"...\"" and so on).
std::string SecondStageSwitches(const UninstallerOptions& options);

struct UninstallSession {
  RunMode Mode = RunMode::Interactive;
  bool NoRestart = false;     // a needed restart is left to the user, without asking
  bool ForceRestart = false;  // a needed restart is started without asking
  std::string AppName;
  std::string InstallPath;  // ends in "\"
  int RebootRequired = 0;
  std::vector<std::string> KeptExtensions;  // lower case
  std::vector<std::string> UninstallTexts;  // Key0 .. Key7, $APPNAME$ replaced
  std::vector<TaskEntry> InstallRecords;
  std::vector<TaskEntry> UninstallTasks;
  std::vector<std::string> FilesToDelete;
  std::vector<FolderEntry> FoldersToRemove;
  std::vector<RegistryKeyRecord> KeysToDelete;  // REGADDKEY records, removed after every value
  std::vector<ProgramStart> RunAfterRemoval;
  std::string InstalledProgramPath;  // the uninstaller in the installation (stage 1's file)
  // Where that file went when it couldn't be deleted; itself when it couldn't move either
  // (another volume), and then its folder is left to the self-delete too.
  std::string MovedProgramPath;
  std::string FolderLeftBehind;
  std::vector<std::string> DeletedAtRestart;  // files in use, left for the next restart
};

// The session as the data file gives it; KeptExtensions are built after the confirmation.
UninstallSession SessionFromData(const UninstallData& data);

// "SkipExtString": parts between commas, trimmed of spaces, lower-cased, empty ones left out.
std::vector<std::string> ParseKeptExtensions(const std::string& skipExtString);
bool IsKeptExtension(const std::vector<std::string>& keptExtensions, const std::string& extension);
// The text after the last "." of the file name, empty without one.
std::string FileExtension(const std::string& path);

// The data file beside a program: its extension (only that) replaced by "dat".
std::string DataFilePathFor(const std::string& programPath);

FolderEntry MakeFolderEntry(const std::string& folderPath);
// Deepest first; entries of one depth keep their order.
void SortDeepestFirst(std::vector<FolderEntry>* folders);

// The bar's position (0 .. kProgressRange) after `step` of `total` steps.
int ProgressPosition(int step, int total);

// The temporary copy's name for a drawn number.
std::string TempCopyPath(const std::string& tempFolder, std::uint32_t number);
// Stage 2's parameters: both paths quoted, one space between.
std::string SecondStageParameters(const std::string& installedDataPath, const std::string& installedProgramPath);
// The command processor's parameters that delete program (and alsoDelete, when not empty)
// once it has ended, then each of folders once empty: every delete is retried, a second
// apart, while the last of them is still there (a running program's file can't go).
std::string SelfDeleteParameters(const std::string& programPath, const std::string& alsoDelete = std::string(),
                                 const std::vector<std::string>& folders = {});

}  // namespace corvalis
