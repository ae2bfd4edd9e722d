// The installation run of the progress page: uninstaller names, program group, processes
// to end, unpacking, then every installation task in script order.
#pragma once

#include <string>
#include <vector>

#include "common/exit_codes.h"
#include "installer/engine/task_operations.h"
#include "installer/install_session.h"

namespace corvalis {

// What the run needs of the wizard and the file system; the wizard gives the real one,
// tests their own.
class InstallationFrontEnd {
 public:
  // Page 5 shown, Next and Previous disabled.
  virtual void ShowProgressPage() = 0;
  virtual void SetProgress(int percent) = 0;
  virtual void DisableCancel() = 0;
  // As a file or as a folder.
  virtual bool PathExists(const std::string& path) = 0;
  // Unpacks the application archive into session.InstallPath with the wizard's progress
  // hook, then deletes the archive. A cancel or a failure rolls the unpacking back and ends
  // the run.
  virtual Outcome UnpackProgramArchive(InstallSession& session) = 0;

 protected:
  ~InstallationFrontEnd() = default;
};

// The first k for which neither InstallPath + "Uninst<k>.exe" nor ".dat" exists.
int FreeUninstallerNumber(const std::string& installPath, InstallationFrontEnd& frontEnd);

// The process names of a KILLTASK line's field 2: split at ",", blanks trimmed, empty
// parts left out. Any other line gives none.
std::vector<std::string> KillTaskNames(const std::string& line);

// The progress bar before task i of n.
int TaskProgress(std::size_t i, std::size_t n);

// Every folder that unpacking these entries (names as ExtractArchive reports them) into
// installPath needs, installPath first, each parent before its children, each once.
std::vector<std::string> FoldersForEntries(const std::string& installPath, const std::vector<std::string>& names);

// The same folders, deepest (most "\\") first, for removing them.
std::vector<std::string> DeepestFirst(std::vector<std::string> folders);

// The progress page's work, into choices.Destination. Ends the run only when the unpacking
// did; no task failure stops it.
Outcome RunInstallation(InstallSession& session, const Choices& choices, InstallationFrontEnd& frontEnd,
                        TaskOperations& operations);

}  // namespace corvalis
