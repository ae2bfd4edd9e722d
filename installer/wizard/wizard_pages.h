// The wizard's pages as the user moves through them: what each shows when the wizard
// opens, which one shows with which buttons, and the page-local choices (the destination
// browser, the Start-menu folder list, the no-group box).
#pragma once

#include "installer/wizard/wizard_view.h"

namespace corvalis {

// The destination field and its space lines, the Start-menu folder list and group field.
void FillPages(WizardView& view);

// Makes page n the only visible page, sets the buttons for it, records CurrentPage.
void ShowPage(WizardView& view, int page);

// The licence box was ticked or unticked.
void OnLicenseTicked(WizardView& view);
// "Browse": the folder browser; its answer goes into the destination field.
void OnBrowse(WizardView& view);
// The no-group box: the folder list and the group on or off.
void OnNoGroup(WizardView& view);
// The button Enter presses: Finish on the last page, Next before it.
int DefaultButtonId(const WizardView& view);
// What the pages' fields and boxes chose (the finish actions' ticks come at "Finish").
Choices WizardChoices(const WizardView& view);
// A folder of the Start-menu list was chosen.
void OnFolderChosen(WizardView& view);

}  // namespace corvalis
