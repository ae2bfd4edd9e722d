// The progress page: the installation run with the wizard as its front end, the Cancel
// that rolls the unpacking back, and the same run without questions for silent runs.
#pragma once

#include <string>

#include "installer/engine/task_operations_win32.h"
#include "installer/install_session.h"
#include "installer/wizard/wizard_view.h"

namespace corvalis {

// Leaving the last page before the progress page: the installation run, which ends on
// the progress page (or ends the installer when it is cancelled).
void StartInstallation(InstallSession& session, WizardView& view);

// The run without questions: into destination, with the program group at group, shown on
// the progress page when there is a view, without any window when there is none. Nothing
// can cancel it.
void RunUnattendedInstallation(InstallSession& session, WizardView* view, const std::string& destination,
                               const std::string& group);

// The system operations with the progress page's status line and download progress (none
// without a view), and the restart rule of the command line.
SystemTaskOperations& InstallationOperations(const InstallSession& session, WizardView* view);

}  // namespace corvalis
