// Path variables ("<ProgramFiles>", ...) and program placeholders ("<ProgramName>", ...).
// Pure text work: every folder and value comes from the caller's PathContext, so the
// installer, the uninstaller and the tests can each supply their own.
#pragma once

#include <string>

namespace corvalis {

// Shell folder numbers the variables use.
constexpr int kCsidlPrograms = 0x02;
constexpr int kCsidlPersonal = 0x05;
constexpr int kCsidlStartMenu = 0x0B;
constexpr int kCsidlDesktopDirectory = 0x10;
constexpr int kCsidlCommonStartMenu = 0x16;
constexpr int kCsidlCommonPrograms = 0x17;
constexpr int kCsidlCommonDesktopDirectory = 0x19;
constexpr int kCsidlAppData = 0x1A;
constexpr int kCsidlCommonAppData = 0x23;
constexpr int kCsidlWindows = 0x24;
constexpr int kCsidlSystem = 0x25;
constexpr int kCsidlProgramFiles = 0x26;
constexpr int kCsidlCommonDocuments = 0x2E;

// The path variables by code: the code is also a shortcut task's location (NORMALLINK,
// INTERNETLINK field 2). Their tokens, in this order, are path_variables.cpp's.
enum PathVariable : int {
  kProgramFilesFolder = 0,      // "<ProgramFiles>"
  kRootPartitionFolder,         // "<RootPartition>"
  kInstallFolder,               // "<DefaultInstallPath>": the folder the user chose
  kWindowsFolder,               // "<Windows>"
  kSystemFolder,                // "<System>"
  kPureBasicFolder,             // "<PureBasic>"
  kAllUsersQuickLaunchFolder,   // "<AllUsersQuickLaunch>"
  kQuickLaunchFolder,           // "<QuickLaunch>"
  kAllUsersProgramsFolder,      // "<AllUsersStartPrograms>"
  kProgramsFolder,              // "<StartPrograms>"
  kAllUsersDesktopFolder,       // "<AllUsersDesktop>"
  kDesktopFolder,               // "<Desktop>"
  kAllUsersStartFolder,         // "<AllUsersStart>"
  kStartFolder,                 // "<Start>"
  kAllUsersDocumentsFolder,     // "<AllUsersDocuments>"
  kDocumentsFolder,             // "<Documents>"
  kTempFolder,                  // "<Temp>"
  kProgramGroupFolder,          // "<DefaultStartMenuGroup>"
};
constexpr int kPathVariableCount = 18;

// Folder lookups that need the running system. Each returns a folder ending in "\",
// or an empty text when the system has none. Called afresh on every expansion.
class FolderSource {
 public:
  virtual std::string SpecialFolder(int csidl) const = 0;
  virtual std::string TempFolder() const = 0;
  virtual std::string PureBasicFolder() const = 0;

 protected:
  ~FolderSource() = default;
};

// Everything an expansion reads. The caller fills it from its own state right before
// expanding (the installer from its session, the uninstaller from its data file).
struct PathContext {
  const FolderSource* Folders = nullptr;  // null: every system folder is empty
  int OsVersionCode = 100;
  std::string InstallPath;         // "<DefaultInstallPath>"; empty before the run
  std::string StartMenuGroupPath;  // "<DefaultStartMenuGroup>"
  std::string AppName;             // "<ProgramName>"
  std::string Version;             // "<ProgramVersion>"
  std::string CompanyName;         // "<CompanyName>"
  std::string Website;             // "<CompanyWebsite>"
  std::string Email;               // "<SupportEmail>"
};

// The token of path variable `code` (0 to 17), or an empty text.
std::string PathVariableToken(int code);

// The folder variable `code` stands for, empty when it can't be had (the token then
// stays in the text).
std::string VariableFolder(int code, const PathContext& context);

std::string ExpandPathVariables(const std::string& text, const PathContext& context);
std::string ExpandProgramInfo(const std::string& text, const PathContext& context);
// The expansion task lines get: up to 24 rounds of both, then CollapseBackslashes. It
// ends early at a round that changes nothing, and refuses a round that would make the
// text longer than 32,767 characters, or longer than it already is when it came in
// longer than that: the text of the round before stands.
std::string ExpandAll(const std::string& text, const PathContext& context);
// A task line with each field expanded on its own (ExpandAll): split first, so that no value
// (a destination "C:\Data\xB6New\") can add a field. False when an expanded field holds the
// field separator: the line then can't be run or stored as it was meant.
bool ExpandTaskLine(const std::string& line, const PathContext& context, std::string* expanded);

// Whether `text` holds a path-variable or program token, in any letter case.
bool HoldsExpansionToken(const std::string& text);
// "\\" becomes "\", left to right without overlap ("\\\\" gives "\\").
std::string CollapseBackslashes(const std::string& text);
// The folder of variable `code`, ending in "\"; "\" for a code outside 0 to 17.
std::string PathVariableFolder(int code, const PathContext& context);

}  // namespace corvalis
