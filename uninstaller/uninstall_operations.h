// Everything the uninstaller does to the system and the screen, behind one interface: the
// program runs the two stages over SystemUninstallOperations (uninstall_operations_win32.h),
// tests over a recorder and an in-memory folder tree. Plain types only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvalis {

// One folder's direct content.
struct FolderListing {
  std::vector<std::string> Subfolders;  // names, without "." and ".."
  std::uint64_t FileBytes = 0;          // the sizes of its files, added up
};

class UninstallOperations {
 public:
  virtual ~UninstallOperations() = default;

  // Messages and the progress window. Titles and texts as shown.
  virtual void ShowError(const std::string& text) = 0;  // title "Error", error icon, OK
  virtual bool AskYesNo(const std::string& title, const std::string& text) = 0;
  virtual void ShowInformation(const std::string& title, const std::string& text) = 0;
  virtual void OpenProgressWindow(const std::string& buttonText, const std::string& text) = 0;
  // Handles the window's pending events, then moves the bar (0 .. kProgressRange).
  virtual void ShowProgress(int position) = 0;
  virtual void CloseProgressWindow() = 0;

  // The running program and its files.
  virtual std::string OwnPath() = 0;
  // Where the temporary copy goes, ending in "\": run elevated, a new folder inside the
  // temporary folder that only administrators and the system may change (so that no
  // program without elevation can swap the copy before it starts); else the temporary
  // folder itself. Empty when neither can be had.
  virtual std::string CopyFolder() = 0;
  // The copy couldn't be made: a folder CopyFolder made for it goes again.
  virtual void DiscardCopyFolder() = 0;
  virtual std::uint32_t RandomNumber(std::uint32_t maximum) = 0;  // 0 .. maximum
  virtual bool PathExists(const std::string& path) = 0;
  // Fails when the destination exists already; *error is the system's reason then.
  virtual bool CopyNewFile(const std::string& source, const std::string& destination, unsigned long* error) = 0;
  virtual bool ReadFile(const std::string& path, std::string* bytes) = 0;
  // Opens program through the shell; an empty working folder is the program's own.
  virtual bool StartProgram(const std::string& program, const std::string& parameters,
                            const std::string& workingFolder, bool hidden) = 0;
  // Starts program and waits until it has ended: its exit code, -1 when it didn't start.
  virtual int StartAndWait(const std::string& program, const std::string& parameters) = 0;
  // Moves a file to another name on the same volume (a running program's file may move).
  virtual bool MoveFileTo(const std::string& source, const std::string& destination) = 0;
  // Starts the command processor that deletes the running program once it has ended, and
  // alsoDelete with it (when not empty), then the folder CopyFolder made for it, then
  // alsoFolder (when not empty) once it is empty.
  virtual void SelfDelete(const std::string& alsoDelete, const std::string& alsoFolder) = 0;
  // A line for the run's log (common/run_log.h).
  virtual void Log(const std::string& text) = 0;

  // Removal. Registry roots are numbers of common/registry_roots.h.
  virtual void DeleteRegistryValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName) = 0;
  virtual void DeleteRegistryKey(std::uint32_t root, const std::string& keyPath) = 0;
  virtual void DisassociateExtension(const std::string& extension, const std::string& programFileName) = 0;
  // Stops and deletes the service named or displayed as nameOrDisplayName (NT family).
  virtual void RemoveService(const std::string& nameOrDisplayName) = 0;
  virtual void UnregisterServer(const std::string& path) = 0;
  virtual void KillProcesses(const std::string& fileName) = 0;
  // Gone (or never there), Kept (a read-only file stays), or InUse (it can't go now).
  enum class Removal { Gone, Kept, InUse };
  virtual Removal RemoveFile(const std::string& path) = 0;
  // Has the file or (empty) folder deleted at the next restart; false when even that fails.
  virtual bool DeleteAtRestart(const std::string& path) = 0;
  virtual void SetCurrentFolder(const std::string& folder) = 0;
  virtual FolderListing ReadFolder(const std::string& folder) = 0;
  // Attributes made normal, then removed when empty.
  virtual void RemoveEmptyFolder(const std::string& folder) = 0;
  virtual void DeleteFolderTree(const std::string& folder) = 0;
  virtual void NotifyAssociationsChanged() = 0;
  virtual void RestartComputer() = 0;
};

}  // namespace corvalis
