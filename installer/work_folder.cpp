#include "installer/work_folder.h"

#include <windows.h>

#include "common/folder_tree.h"
#include "installer/install_session.h"

namespace corvalis {

void RemoveWorkFolder() {
  if (!Session().WorkFolder.empty()) DeleteFolderTree(Session().WorkFolder);
}

void AbortInstaller() {
  RemoveWorkFolder();
  ExitProcess(0);
}

}  // namespace corvalis
