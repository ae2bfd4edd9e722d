#include "common/message_box.h"

#include "common/run_log.h"
#include "common/run_mode.h"

namespace corvalis {

int ShowMessageBox(HWND owner, const std::string& text, const std::string& title, UINT type, int silentAnswer) {
  LogLine("message \"" + title + "\": " + text);
  if (IsSilentRun()) return silentAnswer;
  return MessageBoxA(owner, text.c_str(), title.c_str(), type);
}

}  // namespace corvalis
