// Where the tests find the built Xtras: CORVALIS_DIST is a Linux path, seen
// under Wine through drive Z:.
#pragma once

#include <cstdlib>
#include <string>

inline std::string WinePath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

inline std::string DistFile(const char* name) {
  const char* dist = std::getenv("CORVALIS_DIST");
  return WinePath(dist ? dist : ".") + "\\" + name;
}
