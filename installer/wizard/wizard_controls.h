// What the wizard's pages are made of: the licence and read-me texts, the pictures, and
// every control placed from the layout table.
#pragma once

#include "installer/wizard/wizard_view.h"

namespace corvalis {

// The licence and read-me texts the script asks for, the two bitmaps and the headers made
// from them. A file that can't be used ends the run with its message.
Outcome LoadWizardContent(WizardView& view);

// Every control of the layout table on the window and its pages, with its text, font and
// picture; the link sized to its text, the progress bar and the finish checklist ready.
void BuildControls(WizardView& view);

}  // namespace corvalis
