// A TaskOperations that changes nothing: it writes every call down as one line
// ("Name arg|arg|..."), shows status lines into a list and fails the operations a test
// names. Registry calls on root 0 fail, as the real ones do.
#pragma once

#include <cstdint>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "installer/engine/task_operations.h"

namespace corvalis {

class FixedFolders final : public FolderSource {
 public:
  std::string SpecialFolder(int csidl) const override {
    return csidl == kCsidlDesktopDirectory ? "C:\\Desktop\\" : "C:\\Csidl" + std::to_string(csidl) + "\\";
  }
  std::string TempFolder() const override { return "C:\\Temp\\"; }
  std::string PureBasicFolder() const override { return std::string(); }
};

class RecordingOperations final : public TaskOperations {
 public:
  std::vector<std::string> calls;
  std::vector<std::string> statusLines;
  std::vector<std::string> logLines;
  std::set<std::string> failing;  // operation names that return 0
  unsigned long writeError = 112;  // a failing WriteWholeFile's reason
  int osVersionCode = 60;
  unsigned paused = 0;

  PathContext ExpansionContext(const InstallSession& session) override {
    PathContext context;
    context.Folders = &folders_;
    context.OsVersionCode = osVersionCode;
    context.InstallPath = session.InstallPath;
    context.StartMenuGroupPath = session.StartMenuGroupPath;
    context.AppName = session.ScriptSettings.AppName;
    return context;
  }
  void ShowStatus(const std::string& text) override { statusLines.push_back(text); }
  void Log(const std::string& text) override { logLines.push_back(text); }
  void Pause(unsigned milliseconds) override { paused += milliseconds; }

  int SetRegistryValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName,
                       const std::string& value, int type) override {
    return Registry(root, Call("SetRegistryValue", Hex(root), keyPath, valueName, value, type));
  }
  int CreateRegistryKey(std::uint32_t root, const std::string& keyPath) override {
    return Registry(root, Call("CreateRegistryKey", Hex(root), keyPath));
  }
  int DeleteRegistryValue(std::uint32_t root, const std::string& keyPath, const std::string& valueName) override {
    return Registry(root, Call("DeleteRegistryValue", Hex(root), keyPath, valueName));
  }
  int DeleteRegistryKey(std::uint32_t root, const std::string& keyPath) override {
    return Registry(root, Call("DeleteRegistryKey", Hex(root), keyPath));
  }
  int RunProgram(const std::string& program, const std::string& parameters, const std::string& workingFolder,
                 int showCommand, bool wait) override {
    return Call("RunProgram", program, parameters, workingFolder, showCommand, wait);
  }
  int CreateShellLink(const std::string& target, const std::string& linkPath, const std::string& arguments,
                      const std::string& description, const std::string& workingFolder, int showCommand,
                      int hotKey, const std::string& iconFile, int iconIndex) override {
    return Call("CreateShellLink", target, linkPath, arguments, description, workingFolder, showCommand, hotKey,
                iconFile, iconIndex);
  }
  int CreateInternetShortcut(const std::string& url, const std::string& filePath) override {
    return Call("CreateInternetShortcut", url, filePath);
  }
  int RemoveFile(const std::string& path) override { return Call("RemoveFile", path); }
  int CopyFileOver(const std::string& source, const std::string& destination) override {
    return Call("CopyFileOver", source, destination);
  }
  int CreateFolder(const std::string& path) override { return Call("CreateFolder", path); }
  int RemoveFolder(const std::string& path, bool recursive, bool force) override {
    return Call("RemoveFolder", path, recursive, force);
  }
  int WriteWholeFile(const std::string& path, const std::string& bytes, unsigned long* error) override {
    const int written = Call("WriteWholeFile", path, bytes);
    *error = written ? 0 : writeError;
    return written;
  }
  int AssociateExtension(const std::string& ext, const std::string& description, const std::string& program,
                         const std::string& icon) override {
    return Call("AssociateExtension", ext, description, program, icon);
  }
  int DisassociateExtension(const std::string& ext, const std::string& app) override {
    return Call("DisassociateExtension", ext, app);
  }
  int StartServiceByName(const std::string& name) override { return Call("StartServiceByName", name); }
  int InstallService(const std::string& name, const std::string& displayName, const std::string& programPath,
                     const std::string& description, int startType) override {
    return Call("InstallService", name, displayName, programPath, description, startType);
  }
  int StopServiceByName(const std::string& name) override { return Call("StopServiceByName", name); }
  int RemoveServiceByName(const std::string& name) override { return Call("RemoveServiceByName", name); }
  int RegisterServer(const std::string& filePath, int registerIt) override {
    return Call("RegisterServer", filePath, registerIt);
  }
  int DownloadFile(const std::string& savePath, const std::string& url) override {
    return Call("DownloadFile", savePath, url);
  }
  int InstallFont(const std::string& fontName, const std::string& fontFile) override {
    return Call("InstallFont", fontName, fontFile);
  }
  int KillProcessesByName(const std::string& name) override { return Call("KillProcessesByName", name); }
  int RestartComputer(int force) override { return Call("RestartComputer", force); }

 private:
  static std::string Hex(std::uint32_t value) {
    std::ostringstream text;
    text << std::hex << value;
    return text.str();
  }

  template <typename... Args>
  int Call(const std::string& name, const Args&... args) {
    std::ostringstream line;
    line << name;
    const char* separator = " ";
    ((line << separator << args, separator = "|"), ...);
    calls.push_back(line.str());
    return failing.count(name) ? 0 : 1;
  }

  static int Registry(std::uint32_t root, int result) { return root ? result : 0; }

  FixedFolders folders_;
};

}  // namespace corvalis
