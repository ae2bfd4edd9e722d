// Everything the task executor and the uninstall data writer do to the system, behind one
// interface: the installer runs them over SystemTaskOperations (task_operations_win32.h),
// tests over a recorder. Plain types only, so the logic above it builds natively.
#pragma once

#include <cstdint>
#include <string>

#include "common/path_variables.h"
#include "installer/install_session.h"

namespace corvalis {

class TaskOperations {
 public:
  // Seams of the run itself.
  // Also carries the running system's OsVersionCode, which the service tasks test.
  virtual PathContext ExpansionContext(const InstallSession& session) = 0;
  // The progress page's action text.
  virtual void ShowStatus(const std::string& text) = 0;
  // A line for the run's log (common/run_log.h).
  virtual void Log(const std::string& text) = 0;
  virtual void Pause(unsigned milliseconds) = 0;

  // Registry; root is a number of common/registry_roots.h, and 0 fails.
  virtual int SetRegistryValue(std::uint32_t root, const std::string& keyPath,
                               const std::string& valueName, const std::string& value, int type) = 0;
  virtual int CreateRegistryKey(std::uint32_t root, const std::string& keyPath) = 0;
  virtual int DeleteRegistryValue(std::uint32_t root, const std::string& keyPath,
                                  const std::string& valueName) = 0;
  virtual int DeleteRegistryKey(std::uint32_t root, const std::string& keyPath) = 0;

  // Starts program through the shell (default verb); showCommand 0 hidden, 5 shown;
  // wait: until it has ended.
  virtual int RunProgram(const std::string& program, const std::string& parameters,
                         const std::string& workingFolder, int showCommand, bool wait) = 0;
  virtual int CreateShellLink(const std::string& target, const std::string& linkPath,
                              const std::string& arguments, const std::string& description,
                              const std::string& workingFolder, int showCommand, int hotKey,
                              const std::string& iconFile, int iconIndex) = 0;
  virtual int CreateInternetShortcut(const std::string& url, const std::string& filePath) = 0;

  // Files and folders.
  virtual int RemoveFile(const std::string& path) = 0;
  // Replaces an existing destination.
  virtual int CopyFileOver(const std::string& source, const std::string& destination) = 0;
  // One level: the parent must exist.
  virtual int CreateFolder(const std::string& path) = 0;
  virtual int RemoveFolder(const std::string& path, bool recursive, bool force) = 0;
  // Creates or replaces path with exactly these bytes; 0 when it can't be written whole
  // (nothing of it left, *error the system's reason).
  virtual int WriteWholeFile(const std::string& path, const std::string& bytes, unsigned long* error) = 0;

  virtual int AssociateExtension(const std::string& ext, const std::string& description,
                                 const std::string& program, const std::string& icon) = 0;
  virtual int DisassociateExtension(const std::string& ext, const std::string& app) = 0;

  virtual int StartServiceByName(const std::string& name) = 0;
  virtual int InstallService(const std::string& name, const std::string& displayName,
                             const std::string& programPath, const std::string& description,
                             int startType) = 0;
  virtual int StopServiceByName(const std::string& name) = 0;
  virtual int RemoveServiceByName(const std::string& name) = 0;

  virtual int RegisterServer(const std::string& filePath, int registerIt) = 0;
  // With the run's download progress hook.
  virtual int DownloadFile(const std::string& savePath, const std::string& url) = 0;
  virtual int InstallFont(const std::string& fontName, const std::string& fontFile) = 0;
  virtual int KillProcessesByName(const std::string& name) = 0;
  // Asks the system to restart, unless the run leaves a restart to the user.
  virtual int RestartComputer(int force) = 0;

 protected:
  ~TaskOperations() = default;
};

}  // namespace corvalis
