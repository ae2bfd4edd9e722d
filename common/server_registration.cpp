#include <windows.h>

#include "common/operations_settings.h"
#include "common/path_variables.h"
#include "common/special_folders.h"
#include "common/system_operations.h"

namespace corvalis {
namespace {

// The folder regsvr32.exe lives in; old systems get it from fixed names, as "<System>".
std::string SystemFolderForTools() {
  PathContext context;
  context.Folders = &SystemFolders();
  context.OsVersionCode = Operations().OsVersionCode;
  std::string folder = VariableFolder(4, context);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

bool RunAndWait(const std::string& program, const std::string& arguments) {
  std::string commandLine = "\"" + program + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace

int RegisterServer(const std::string& filePath, int registerIt) {
  const std::string program = SystemFolderForTools() + "regsvr32.exe";
  const std::string arguments = std::string(registerIt ? "/s " : "/u /s ") + "\"" + filePath + "\"";
  if (RunAndWait(program, arguments)) return 1;
  return ShellOpenAndWait(program, arguments) ? 1 : 0;
}

}  // namespace corvalis
