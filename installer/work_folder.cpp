#include "installer/work_folder.h"

#include <windows.h>

#include "common/folder_tree.h"
#include "common/run_log.h"
#include "installer/install_session.h"
#include "installer/startup/run_report.h"

namespace corvalis {

void RemoveWorkFolder() {
  const InstallSession& session = Session();
  const std::string& outermost = session.PrivateFolder.empty() ? session.WorkFolder : session.PrivateFolder;
  if (!outermost.empty()) DeleteFolderTree(outermost);
}

void AbortInstaller(int exitCode) {
  RemoveWorkFolder();
  OpenDefaultRunLog(Session());
  LogExitCode(exitCode);
  ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace corvalis
