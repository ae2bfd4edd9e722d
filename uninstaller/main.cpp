// The uninstaller: written by the installer beside its data file. Started without
// parameters it starts a copy of itself from the temporary folder; that copy, given the
// installed data file's and program's paths, removes the installation and itself.
#include <windows.h>

#include <string>

#include "common/operations_settings.h"
#include "common/os_version.h"
#include "common/start_messages.h"
#include "common/system_dlls.h"
#include "uninstaller/uninstall_operations_win32.h"
#include "uninstaller/uninstall_run.h"

using namespace corvalis;

namespace {

std::string Parameter(int index) { return index < __argc && __argv[index] ? __argv[index] : std::string(); }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  RestrictDllSearchPath();
  OperationsSettings settings;
  settings.OsVersionCode = ClassifyOsVersion(QueryOsVersion());
  SetOperations(settings);
  if (!IsBefore2000(settings.OsVersionCode) && !IsAdministrator()) {
    MessageBoxA(nullptr, kNeedAdministratorText, kErrorTitle, MB_OK | MB_ICONERROR);
    return 0;
  }
  SystemUninstallOperations ops(LoadIconA(instance, MAKEINTRESOURCEA(1)));
  const std::string installedDataPath = Parameter(1);
  if (installedDataPath.empty()) {
    StartFromTempCopy(ops);
  } else {
    RunUninstallation(ops, installedDataPath, Parameter(2));
  }
  return 0;
}
