// Which page of the installer's wizard shows, for the programs that drive it: the
// end-to-end tests and the main job's driver.
#pragma once

#include <windows.h>

namespace installer_e2e {

constexpr char kLanguageDialogTitle[] = "Language selection";

// The page whose panel is visible (0 welcome .. 6 finish); -1 while none is.
int VisiblePage(HWND wizard);
// False when the page doesn't show within timeoutMs.
bool WaitForWizardPage(HWND wizard, int page, int timeoutMs);

}  // namespace installer_e2e
