#include "tools/winrobot/control_ref.h"

#include <cerrno>
#include <cstdlib>

namespace winrobot {

std::string StripMnemonic(const std::string& text) {
  std::string plain;
  plain.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&') {
      if (i + 1 < text.size() && text[i + 1] == '&') {
        plain += '&';
        ++i;
      }
      continue;
    }
    plain += text[i];
  }
  return plain;
}

ControlRef ParseControlRef(const std::string& textOrId) {
  ControlRef ref;
  bool numberFollows = textOrId.size() > 1 && (textOrId[1] == '-' || (textOrId[1] >= '0' && textOrId[1] <= '9'));
  if (numberFollows && textOrId[0] == '#') {
    const char* digits = textOrId.c_str() + 1;
    bool hex = digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(digits, &end, hex ? 16 : 10);
    if (errno == 0 && end != digits && *end == '\0' && value >= -65536 && value <= 0x7FFFFFFFL) {
      ref.byId = true;
      ref.id = static_cast<int>(value);
      return ref;
    }
  }
  ref.text = StripMnemonic(textOrId);
  return ref;
}

bool MatchesControl(const ControlRef& ref, const std::string& controlText, int controlId) {
  if (ref.byId) {
    if (controlId == ref.id) return true;
    return (ref.id < 0 || controlId < 0) && (controlId & 0xFFFF) == (ref.id & 0xFFFF);
  }
  return StripMnemonic(controlText) == ref.text;
}

int FindItemIndex(const std::vector<std::string>& items, const std::string& itemText) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == itemText) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace winrobot
