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

// The actions ticked on the finish page's checklist, one for each of FinishActions.
std::vector<bool> TickedFinishActions(const InstallSession& session, const WizardView& view);

}  // namespace corvalis
