// The setup wizard's window: made with every page, then driven by its buttons until a
// click ends the process.
#pragma once

#include "installer/install_session.h"
#include "installer/wizard/wizard_view.h"

namespace corvalis {

// Reads the pages' texts and pictures, removes the unpacked Information\ folder, builds
// the window with every page and fills the choices. A failure ends the installer: with its
// message, or without one when the window can't be created. The window is not shown yet.
WizardView& BuildWizard(InstallSession& session, UninstallerImageFn uninstallerImage);

// Shows page 0 and handles clicks until one ends the process.
[[noreturn]] void RunWizard(WizardView& view);

}  // namespace corvalis
