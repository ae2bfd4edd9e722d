#include "installer/work_folder.h"

#include <windows.h>

#include "common/folder_tree.h"
#include "common/run_log.h"
#include "installer/install_session.h"
#include "installer/startup/run_report.h"

namespace corvalis {

void RemoveWorkFolder() {
  if (!Session().WorkFolder.empty()) DeleteFolderTree(Session().WorkFolder);
}

void AbortInstaller(int exitCode) {
  RemoveWorkFolder();
  OpenDefaultRunLog(Session());
  LogExitCode(exitCode);
  ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace corvalis
