#include "tests/support/wizard_pages.h"

#include "common/control_ids.h"
#include "installer/wizard/wizard_rules.h"

namespace installer_e2e {

int VisiblePage(HWND wizard) {
  for (int page = 0; page < corvalis::kWizardPageCount; ++page) {
    HWND panel = GetDlgItem(wizard, corvalis::kIdWizardFirstPage + page);
    if (panel && IsWindowVisible(panel)) return page;
  }
  return -1;
}

bool WaitForWizardPage(HWND wizard, int page, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 10) {
    if (VisiblePage(wizard) == page) return true;
    Sleep(10);
  }
  return VisiblePage(wizard) == page;
}

}  // namespace installer_e2e
