#include "tools/winrobot/unix_path.h"

namespace winrobot {

std::string UnixToWindowsPath(const std::string& linuxPath) {
  if (linuxPath.empty() || linuxPath[0] != '/') return linuxPath;
  std::string windowsPath = "Z:";
  for (char c : linuxPath) windowsPath += (c == '/') ? '\\' : c;
  return windowsPath;
}

}  // namespace winrobot
