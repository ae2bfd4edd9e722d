// The installer's process-wide state: one instance for the life of the process.
// Each subsystem fills and reads its own fields.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/run_log.h"
#include "common/task_line.h"
#include "installer/config/stub_texts.h"
#include "installer/startup/command_line.h"

namespace corvalis {

struct LanguageEntry {
  std::string Language;  // display name, untrimmed
  std::string Author;
  std::string Path;      // full path of the language file in the work folder
};

// Every key of Script.ini that the installer reads, under its key name. Text switches
// stay text (only the exact "1" or "0" counts); numbers went through ParseInteger.
struct ScriptSettings {
  // GeneralInformation
  std::string AppName;
  std::string Version;
  std::string CompanyName;
  std::string Website;
  std::string Email;
  std::string W98;
  std::string WME;
  std::string WNT;
  std::string W2K;
  std::string WXP;
  std::string WV;
  std::string DotNet;
  std::string RunIfDepNotFound;
  // Look
  int HeaderTextColour = 0;  // 0x00BBGGRR
  // FilesAndSettings
  std::string RequireReadme;
  std::string RequireLicense;
  // InstTasks, UninstTasks: file order
  std::vector<TaskEntry> InstTasks;
  std::vector<TaskEntry> UninstTasks;
  // uConfig ("RebootRequired" there is the uninstaller's restart question)
  int UninstRebootRequired = 0;
  std::string SkipExtString;
  int IconExtUninst = 0;
  int IconExtCustom = 0;
  std::string IconExtPath;
  int IconExtIndex = 0;
  // iConfig
  int RebootRequired = 0;
  int PathChangeable = 0;
  std::string DefaultPath;
  int AutoCreateStartMenu = 0;
  int CreateInternetLink = 0;
  int CreateUninstallLink = 0;
  int ForceGroupCreation = 0;
};


// One item of the finish page's checklist: the task line it runs when ticked at "Finish".
struct FinishAction {
  int Item = 0;      // index in the checklist
  std::string Name;  // the task's name, or kTextRestartName for the restart item
  std::string Line;
};

// What this run installs and how, as the wizard's pages or the command line chose it: one
// record both fill and the run reads. ScriptSettings stay as loaded; the language chosen is
// the session's LanguageFile.
struct Choices {
  std::string Destination;   // becomes InstallPath
  std::string Group;         // the program group's folder
  bool MakeGroup = false;    // the script's AutoCreateStartMenu unless the user chose none
  std::vector<bool> FinishTicks;  // FinishTicks[i] for FinishActions[i], known at "Finish"
  bool ForceRestart = false;      // a needed restart is done without asking
};

struct InstallSession {
  // The running Windows version is not kept here: it lives in OperationsSettings
  // (common/operations_settings.h), the one record both programs set at start-up.

  // Start-up
  InstallerOptions Options;  // the command line
  LogTime StartedAt;         // names the default log file
  bool Elevated = false;     // an NT system's administrator: the work goes into PrivateFolder

  // Package
  std::string PrivateFolder;  // holds the work folder in an elevated run; ends in "\"
  std::string WorkFolder;     // ends in "\", empty until created
  std::string InfoArchiveTemp;
  std::string ProgramArchiveTemp;
  std::string ScriptPath;
  std::string StatisticsPath;
  std::string WizardBitmapPath;
  std::string HeaderBitmapPath;
  std::string ReadMePath;
  std::string LicensePath;
  std::vector<LanguageEntry> Languages;
  std::string LanguageFile;
  // The uninstaller the package carries (with the product's version, signed by the vendor);
  // empty: the installer writes its own.
  std::string PackageUninstaller;

  // Configuration (the script's settings and texts are added by the config code)
  std::uint64_t RequiredSpace = 0;
  corvalis::ScriptSettings ScriptSettings;
  StubTextTable StubTexts;
  std::vector<std::pair<std::string, std::string>> UninstallTexts;  // (key, text), file order
  // The product's uninstall entry as an earlier installation left it: an upgrade goes there.
  std::string RegisteredLocation;  // its InstallLocation, empty when there is none
  std::string RegisteredVersion;   // its DisplayVersion

  // Wizard and engine
  int CurrentPage = 0;      // 0 welcome .. 6 finish
  std::string LicenseText;  // the files' text up to the first NUL byte, when the script asks
  std::string ReadMeText;
  std::string InstallPath;
  std::string StartMenuGroupPath;
  std::vector<std::string> InstalledFiles;  // full paths, unpacking order
  // Folders (ending in "\") that the unpacking is about to create, InstallPath among them
  // when it didn't exist: the only folders a cancel may remove.
  std::vector<std::string> UnpackCreatedFolders;
  // Files in use that the unpacking left to replace at the next restart (InstalledFiles
  // names them too): (the file, the new content beside it).
  std::vector<std::pair<std::string, std::string>> ReplacedAtRestart;
  std::vector<FinishAction> FinishActions;

  // Engine
  std::string UninstallerPath;    // InstallPath + "Uninst<k>.exe"
  std::string UninstallDataPath;  // InstallPath + "Uninst<k>.dat", the same k
  std::vector<TaskEntry> UndoLog;  // undo lines, in the order they were recorded
};

// The one session of the process: for WinMain and window procedures. Code that can
// take the session as a parameter does, so tests hand it their own.
InstallSession& Session();

}  // namespace corvalis
