#include "common/message_box.h"

#include "common/run_log.h"
#include "common/run_mode.h"

namespace corvalis {

int ShowMessageBox(HWND owner, const std::string& text, const std::string& title, UINT type, int silentAnswer) {
  LogLine("message \"" + title + "\": " + text);
  if (IsSilentRun()) return silentAnswer;
  // The keyboard goes on where it was: the box would leave the focus on its owner window,
  // where no key does anything.
  HWND focus = GetFocus();
  const int answer = MessageBoxA(owner, text.c_str(), title.c_str(), type);
  if (focus && IsWindow(focus) && IsWindowVisible(focus) && IsWindowEnabled(focus)) SetFocus(focus);
  return answer;
}

std::string SystemErrorText(unsigned long error) {
  char text[512] = "";
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                      text, sizeof text, nullptr);
  std::string sentence(text, length);
  while (!sentence.empty() && (sentence.back() == '\n' || sentence.back() == '\r' || sentence.back() == ' ')) {
    sentence.pop_back();
  }
  return sentence.empty() ? "error " + std::to_string(error) : sentence;
}

}  // namespace corvalis
