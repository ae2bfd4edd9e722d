// Text from one encoding into another, through iconv.
#pragma once

#include <string>

namespace mkinstaller {

// to and from are names iconv knows; false when a character has no place in the target or
// the text is no valid source.
bool ConvertText(const char* to, const char* from, const std::string& text, std::string* converted);

}  // namespace mkinstaller
