// The finish page: its checklist of the actions that wait for "Finish", and the end of
// every installation, with the wizard or without it.
#pragma once

#include <string>
#include <vector>

#include "installer/install_session.h"
#include "installer/wizard/wizard_view.h"

namespace corvalis {

// Fills FinishActions and, with a view, the checklist from the installation tasks (whose
// program placeholders it expands in place); the checklist stays hidden without items.
void BuildFinishActions(InstallSession& session, WizardView* view);

// "Finish": the actions ticked on the page; then CompleteInstallation.
[[noreturn]] void Finish(InstallSession& session, WizardView& view, const std::string& uninstallerImage);

// The end of an installation: the work folder removed, the actions of FinishActions that
// are ticked (ticked[i] for action i), the uninstaller (uninstallerImage, byte for byte)
// and its data; ends the process with 0, or 3010 or 1641 when a restart is needed or was
// started.
[[noreturn]] void CompleteInstallation(InstallSession& session, WizardView* view, const std::vector<bool>& ticked,
                                       const std::string& uninstallerImage);

}  // namespace corvalis
