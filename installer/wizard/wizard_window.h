// The setup wizard: its window, its seven pages and the event loop of pages 0 to 4.
#pragma once

#include <windows.h>

#include "installer/install_session.h"

namespace corvalis {

// Reads the licence and read-me texts the script asks for and the two bitmaps, removes
// the unpacked Information\ folder, builds the window with every page, fills the
// destination and group choices and shows page 0. A failure ends the installer: with
// its message, or without one when the window can't be created.
void BuildWizard(InstallSession& session);

// Makes page n the only visible page, sets the buttons for it, records CurrentPage.
void ShowPage(int page);

// Waits for clicks and handles them until a click ends the process.
[[noreturn]] void RunWizard();

// Takes one pending window event without waiting (paint requests are served, anything
// else is dropped); true when it, or a click announced since the last call, was on
// Cancel. For the progress page, whose Cancel works only through the progress hooks.
bool TakeCancelClick();

// The window and any of its controls by identifier (common/control_ids.h); nullptr
// before BuildWizard. The installation run writes into the progress page through these.
HWND WizardWindow();
HWND WizardControl(int id);

}  // namespace corvalis
