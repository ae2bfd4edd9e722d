#include "installer/work_folder.h"

#include "common/folder_tree.h"

namespace corvalis {

void RemoveWorkFolder(const InstallSession& session) {
  const std::string& outermost = session.PrivateFolder.empty() ? session.WorkFolder : session.PrivateFolder;
  if (!outermost.empty()) DeleteFolderTree(outermost);
}

}  // namespace corvalis
