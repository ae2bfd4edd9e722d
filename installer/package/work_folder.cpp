#include "installer/package/work_folder.h"

#include <windows.h>

#include "installer/install_session.h"

namespace corvalis {

InstallSession& Session() {
  static InstallSession session;
  return session;
}

void RemoveWorkFolder() {}

void AbortInstaller() {
  RemoveWorkFolder();
  ExitProcess(0);
}

}  // namespace corvalis
