// The progress page: the installation run with the wizard as its front end, and the
// Cancel that rolls the unpacking back.
#pragma once

#include <string>

#include "installer/engine/task_operations.h"
#include "installer/install_session.h"
#include "installer/wizard/wizard_view.h"

namespace corvalis {

// Leaving the last page before the progress page: the installation run, which ends on
// the progress page (or ends the installer when it is cancelled).
void StartInstallation(InstallSession& session, WizardView& view);

// The system operations with the progress page's status line and download progress.
TaskOperations& InstallationOperations(WizardView& view);

}  // namespace corvalis
