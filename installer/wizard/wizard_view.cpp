#include "installer/wizard/wizard_view.h"

#include "common/message_box.h"
#include "installer/config/language_texts.h"

namespace corvalis {

HWND WizardView::Control(int id) const {
  if (!window) return nullptr;
  if (HWND direct = GetDlgItem(window, id)) return direct;
  for (HWND page : pages) {
    if (HWND control = page ? GetDlgItem(page, id) : nullptr) return control;
  }
  return nullptr;
}

bool ConfirmCancel(const WizardView& view) {
  const StubTextTable& texts = view.session.StubTexts;
  return ShowMessageBox(view.window, texts[kTextConfirmCancel], texts[kTextConfirmTitle], MB_YESNO | MB_ICONSTOP,
                        IDNO) == IDYES;
}

}  // namespace corvalis
