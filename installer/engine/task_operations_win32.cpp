#include "installer/engine/task_operations_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "common/folder_tree.h"
#include "common/run_log.h"
#include "common/system_operations.h"
#include "installer/engine/http_download.h"
#include "installer/engine/session_paths.h"

namespace corvalis {

PathContext SystemTaskOperations::ExpansionContext(const InstallSession& session) {
  return SessionPathContext(session);
}

void SystemTaskOperations::ShowStatus(const std::string& text) {
  LogLine("status: " + text);
  if (statusLine_) statusLine_(text);
}

void SystemTaskOperations::Log(const std::string& text) { LogLine(text); }

void SystemTaskOperations::Pause(unsigned milliseconds) { Sleep(milliseconds); }

int SystemTaskOperations::SetRegistryValue(std::uint32_t root, const std::string& keyPath,
                                           const std::string& valueName, const std::string& value, int type) {
  return corvalis::SetRegistryValue(RootKey(root), keyPath, valueName, value, type, "");
}

int SystemTaskOperations::CreateRegistryKey(std::uint32_t root, const std::string& keyPath) {
  return corvalis::CreateRegistryKey(RootKey(root), keyPath, "");
}

int SystemTaskOperations::DeleteRegistryValue(std::uint32_t root, const std::string& keyPath,
                                              const std::string& valueName) {
  return corvalis::DeleteRegistryValue(RootKey(root), keyPath, valueName, "");
}

int SystemTaskOperations::DeleteRegistryKey(std::uint32_t root, const std::string& keyPath) {
  return corvalis::DeleteRegistryKey(RootKey(root), keyPath, "");
}

int SystemTaskOperations::RunProgram(const std::string& program, const std::string& parameters,
                                     const std::string& workingFolder, int showCommand, bool wait) {
  return LaunchProgram(program, parameters, workingFolder, showCommand, wait, true) ? 1 : 0;
}

int SystemTaskOperations::CreateShellLink(const std::string& target, const std::string& linkPath,
                                          const std::string& arguments, const std::string& description,
                                          const std::string& workingFolder, int showCommand, int hotKey,
                                          const std::string& iconFile, int iconIndex) {
  return corvalis::CreateShellLink(target, linkPath, arguments, description, workingFolder, showCommand,
                                   static_cast<WORD>(hotKey), iconFile, iconIndex);
}

int SystemTaskOperations::CreateInternetShortcut(const std::string& url, const std::string& filePath) {
  return corvalis::CreateInternetShortcut(url, filePath);
}

int SystemTaskOperations::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) ? 1 : 0; }

int SystemTaskOperations::CopyFileOver(const std::string& source, const std::string& destination) {
  return CopyFileA(source.c_str(), destination.c_str(), FALSE) ? 1 : 0;
}

int SystemTaskOperations::CreateFolder(const std::string& path) {
  std::string folder = path;
  while (!folder.empty() && (folder.back() == ' ' || folder.back() == '\\' || folder.back() == '/')) {
    folder.pop_back();
  }
  return CreateDirectoryA(folder.c_str(), nullptr) ? 1 : 0;
}

int SystemTaskOperations::RemoveFolder(const std::string& path, bool recursive, bool force) {
  return DeleteFolder(path, recursive, force);
}

int SystemTaskOperations::WriteWholeFile(const std::string& path, const std::string& bytes, unsigned long* error) {
  return corvalis::WriteWholeFile(path, bytes, error);
}

int SystemTaskOperations::AssociateExtension(const std::string& ext, const std::string& description,
                                             const std::string& program, const std::string& icon) {
  return corvalis::AssociateExtension(ext, description, program, icon);
}

int SystemTaskOperations::DisassociateExtension(const std::string& ext, const std::string& app) {
  return corvalis::DisassociateExtension(ext, app);
}

int SystemTaskOperations::StartServiceByName(const std::string& name) { return corvalis::StartServiceByName(name); }

int SystemTaskOperations::InstallService(const std::string& name, const std::string& displayName,
                                         const std::string& programPath, const std::string& description,
                                         int startType) {
  return corvalis::InstallService(name, displayName, programPath, description, startType);
}

int SystemTaskOperations::StopServiceByName(const std::string& name) { return corvalis::StopServiceByName(name); }

int SystemTaskOperations::RemoveServiceByName(const std::string& name) {
  return corvalis::RemoveServiceByName(name);
}

int SystemTaskOperations::RegisterServer(const std::string& filePath, int registerIt) {
  return corvalis::RegisterServer(filePath, registerIt);
}

int SystemTaskOperations::DownloadFile(const std::string& savePath, const std::string& url) {
  return corvalis::DownloadFile(savePath, url, downloadProgress_);
}

int SystemTaskOperations::InstallFont(const std::string& fontName, const std::string& fontFile) {
  return corvalis::InstallFont(fontName, fontFile);
}

int SystemTaskOperations::KillProcessesByName(const std::string& name) { return corvalis::KillProcessesByName(name); }

int SystemTaskOperations::RestartComputer(int force) {
  if (!restartAllowed_) {
    LogLine("restart needed; left to the user");
    restartNeeded_ = true;
    return 0;
  }
  // A restart the system refused is still needed.
  restartStarted_ = ShutdownWindows(force ? EWX_REBOOT | EWX_FORCE : EWX_REBOOT) == 0;
  restartNeeded_ = !restartStarted_;
  LogLine(restartStarted_ ? "restart started" : "restart refused by the system; still needed");
  return 0;
}

}  // namespace corvalis
