// The installation without questions, for deployment tools: what the command line chose
// (or the script's defaults), the progress page shown in a silent run and no window at
// all in a very silent one, the finish page's actions as they are ticked by default but
// no program started, and the run's exit code.
#pragma once

#include "installer/install_session.h"
#include "installer/wizard/wizard_view.h"

namespace corvalis {

// The run's exit code.
int RunUnattended(InstallSession& session, UninstallerImageFn uninstallerImage);

}  // namespace corvalis
