// The setup wizard's window: made with every page, then driven by its buttons until a
// click ends the process.
#pragma once

#include "installer/install_session.h"
#include "installer/wizard/wizard_view.h"

namespace corvalis {

// Reads the pages' texts and pictures, removes the unpacked Information\ folder, builds
// the window with every page and fills the choices into *built. A file that can't be used
// ends the run with its message, a window that can't be made without one (no text exists
// for that). The window is not shown yet.
Outcome BuildWizard(InstallSession& session, UninstallerImageFn uninstallerImage, WizardView** built);

// Builds the wizard, shows page 0 and handles clicks until one ends the run: Cancel, or
// "Finish" after the installation; the run's exit code.
int RunWizard(InstallSession& session, UninstallerImageFn uninstallerImage);

}  // namespace corvalis
