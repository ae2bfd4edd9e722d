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
  std::string folder = VariableFolder(kSystemFolder, context);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace

int RegisterServer(const std::string& filePath, int registerIt) {
  const std::string program = SystemFolderForTools() + "regsvr32.exe";
  const std::string arguments = std::string(registerIt ? "/s " : "/u /s ") + "\"" + filePath + "\"";
  return LaunchProgram(program, arguments, std::string(), SW_SHOWNORMAL, true) ? 1 : 0;
}

}  // namespace corvalis
