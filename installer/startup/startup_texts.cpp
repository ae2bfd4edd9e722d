#include "installer/startup/startup_texts.h"

#include "common/message_box.h"

namespace corvalis {

bool ConfirmCancelBeforeLanguage(HWND owner) {
  return ShowMessageBox(owner, kConfirmCancelText, kConfirmCancelTitle, MB_YESNO | MB_ICONSTOP, IDNO) == IDYES;
}

}  // namespace corvalis
