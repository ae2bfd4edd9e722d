// The installer's process-wide state: one instance for the life of the process.
// Each subsystem fills and reads its own fields.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvalis {

// A named task line: key = Name, value = Line. Task lists, the undo log and the
// uninstaller's record lists are lists of these.
struct TaskEntry {
  std::string Name;
  std::string Line;
};

struct LanguageEntry {
  std::string Language;  // display name, untrimmed
  std::string Author;
  std::string Path;      // full path of the language file in the work folder
};

struct InstallSession {
  // Start-up
  int OsVersionCode = 100;

  // Package
  std::string WorkFolder;  // ends in "\", empty until created
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

  // Configuration (the script's settings and texts are added by the config code)
  std::uint64_t RequiredSpace = 0;

  // Wizard and engine
  std::string InstallPath;
  std::string StartMenuGroupPath;
};

// The one session of the process.
InstallSession& Session();

}  // namespace corvalis
