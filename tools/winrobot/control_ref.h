#pragma once
// Rules for naming controls and list items the way a test script does: "#123" is a
// control id, anything else is the text a user reads (mnemonic '&' ignored).
#include <string>
#include <vector>

namespace winrobot {

struct ControlRef {
  bool byId = false;
  int id = 0;
  std::string text;  // without mnemonic markers
};

// "&Next >" -> "Next >", "Save && Exit" -> "Save & Exit".
std::string StripMnemonic(const std::string& text);

// "#123", "#0x7B" and "#-1" name ids; everything else (also a lone "#") is a text.
ControlRef ParseControlRef(const std::string& textOrId);

// Dialog ids are 16-bit, so "#-1" also names the 0xFFFF of a message box's text.
bool MatchesControl(const ControlRef& ref, const std::string& controlText, int controlId);

// Index of the item whose text equals itemText exactly, else -1.
int FindItemIndex(const std::vector<std::string>& items, const std::string& itemText);

}  // namespace winrobot
