#include "installer/wizard/start_installation.h"

#include "installer/work_folder.h"

namespace corvalis {

// The installation run is not built yet: the installer ends here, cleanly, with nothing
// installed.
void StartInstallation() { AbortInstaller(); }

}  // namespace corvalis
