// The finish page: its checklist of the actions that wait for "Finish", and "Finish".
#pragma once

#include <string>

#include "installer/install_session.h"
#include "installer/wizard/wizard_view.h"

namespace corvalis {

// Fills FinishActions and the checklist from the installation tasks (whose program
// placeholders it expands in place); the checklist stays hidden without items.
void BuildFinishActions(InstallSession& session, WizardView& view);

// "Finish": the ticked actions, the uninstaller (uninstallerImage, byte for byte) and its
// data; ends the process.
[[noreturn]] void Finish(InstallSession& session, WizardView& view, const std::string& uninstallerImage);

}  // namespace corvalis
