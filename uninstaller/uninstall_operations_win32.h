// UninstallOperations over the real system: message boxes, the progress window, files,
// the registry and services through common/system_operations.h.
#pragma once

#include <windows.h>

#include "uninstaller/uninstall_operations.h"

namespace corvalis {

class SystemUninstallOperations final : public UninstallOperations {
 public:
  // icon: the program's own, shown in the progress window; elevated: the program runs
  // with administrator rights on an NT system.
  SystemUninstallOperations(HICON icon, bool elevated);
  ~SystemUninstallOperations() override;

  void ShowError(const std::string& text) override;
  bool AskYesNo(const std::string& title, const std::string& text) override;
  void ShowInformation(const std::string& title, const std::string& text) override;
  void OpenProgressWindow(const std::string& buttonText, const std::string& text) override;
  void ShowProgress(int position) override;
  void CloseProgressWindow() override;

  std::string OwnPath() override;
  std::string CopyFolder() override;
  void DiscardCopyFolder() override;
  std::uint32_t RandomNumber(std::uint32_t maximum) override;
  bool PathExists(const std::string& path) override;
  bool CopyNewFile(const std::string& source, const std::string& destination, unsigned long* error) override;
  bool ReadFile(const std::string& path, std::string* bytes) override;
  bool StartProgram(const std::string& program, const std::string& parameters, const std::string& workingFolder,
                    bool hidden) override;
  int StartAndWait(const std::string& program, const std::string& parameters) override;
  bool MoveFileTo(const std::string& source, const std::string& destination) override;
  void SelfDelete(const std::string& alsoDelete, const std::string& alsoFolder) override;
  void Log(const std::string& text) override;

  void DeleteRegistryValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName) override;
  void DeleteRegistryKey(std::uint32_t root, const std::string& keyPath) override;
  void DisassociateExtension(const std::string& extension, const std::string& programFileName) override;
  void RemoveService(const std::string& nameOrDisplayName) override;
  void UnregisterServer(const std::string& path) override;
  void KillProcesses(const std::string& fileName) override;
  Removal RemoveFile(const std::string& path) override;
  bool DeleteAtRestart(const std::string& path) override;
  void SetCurrentFolder(const std::string& folder) override;
  FolderListing ReadFolder(const std::string& folder) override;
  void RemoveEmptyFolder(const std::string& folder) override;
  void DeleteFolderTree(const std::string& folder) override;
  void NotifyAssociationsChanged() override;
  void RestartComputer() override;

 private:
  HICON icon_;
  bool elevated_;
  std::string privateFolder_;  // the copy's folder, made by CopyFolder
  HWND window_ = nullptr;
  HWND bar_ = nullptr;
  std::uint32_t random_;
};

}  // namespace corvalis
