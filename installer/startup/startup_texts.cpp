#include "installer/startup/startup_texts.h"

namespace corvalis {

bool ConfirmCancelBeforeLanguage(HWND owner) {
  return MessageBoxA(owner, kConfirmCancelText, kConfirmCancelTitle, MB_YESNO | MB_ICONSTOP) == IDYES;
}

}  // namespace corvalis
