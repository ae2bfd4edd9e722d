// The installer's real TaskOperations: the system operations, the download and the
// progress page's status line.
#pragma once

#include <functional>
#include <string>

#include "installer/engine/http_download.h"
#include "installer/engine/task_operations.h"

namespace corvalis {

using StatusLineFn = std::function<void(const std::string& text)>;

class SystemTaskOperations final : public TaskOperations {
 public:
  // Null hooks: downloads report nowhere, status lines are not shown.
  explicit SystemTaskOperations(DownloadProgressFn downloadProgress = nullptr, StatusLineFn statusLine = nullptr)
      : downloadProgress_(std::move(downloadProgress)), statusLine_(std::move(statusLine)) {}

  // A run that leaves restarts to its user (/NORESTART, silent runs) only notes them.
  void SetRestartAllowed(bool allowed) { restartAllowed_ = allowed; }
  // A restart was asked for and left to the user; one was started.
  bool RestartNeeded() const { return restartNeeded_; }
  bool RestartStarted() const { return restartStarted_; }

  PathContext ExpansionContext(const InstallSession& session) override;
  void ShowStatus(const std::string& text) override;
  void Log(const std::string& text) override;
  void Pause(unsigned milliseconds) override;
  int SetRegistryValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName,
                       const std::string& value, int type) override;
  int CreateRegistryKey(std::uint32_t root, const std::string& keyPath) override;
  int DeleteRegistryValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName) override;
  int DeleteRegistryKey(std::uint32_t root, const std::string& keyPath) override;
  int RunProgram(const std::string& program, const std::string& parameters, const std::string& workingFolder,
                 int showCommand, bool wait) override;
  int CreateShellLink(const std::string& target, const std::string& linkPath, const std::string& arguments,
                      const std::string& description, const std::string& workingFolder, int showCommand,
                      int hotKey, const std::string& iconFile, int iconIndex) override;
  int CreateInternetShortcut(const std::string& url, const std::string& filePath) override;
  int RemoveFile(const std::string& path) override;
  int CopyFileOver(const std::string& source, const std::string& destination) override;
  int CreateFolder(const std::string& path) override;
  int RemoveFolder(const std::string& path, bool recursive, bool force) override;
  int WriteWholeFile(const std::string& path, const std::string& bytes, unsigned long* error) override;
  int AssociateExtension(const std::string& ext, const std::string& description, const std::string& program,
                         const std::string& icon) override;
  int DisassociateExtension(const std::string& ext, const std::string& app) override;
  int StartServiceByName(const std::string& name) override;
  int InstallService(const std::string& name, const std::string& displayName, const std::string& programPath,
                     const std::string& description, int startType) override;
  int StopServiceByName(const std::string& name) override;
  int RemoveServiceByName(const std::string& name) override;
  int RegisterServer(const std::string& filePath, int registerIt) override;
  int DownloadFile(const std::string& savePath, const std::string& url) override;
  int InstallFont(const std::string& fontName, const std::string& fontFile) override;
  int KillProcessesByName(const std::string& name) override;
  int RestartComputer(int force) override;

 private:
  DownloadProgressFn downloadProgress_;
  StatusLineFn statusLine_;
  bool restartAllowed_ = true;
  bool restartNeeded_ = false;
  bool restartStarted_ = false;
};

}  // namespace corvalis
