#pragma once
#include <string>

namespace winrobot {

// "/a/b" -> "Z:\a\b"; Wine maps the Linux root to drive Z. Paths that already carry
// a drive or start with '\' are returned unchanged.
std::string UnixToWindowsPath(const std::string& linuxPath);

}  // namespace winrobot
