// Where the tests find the built Xtras: CORVALIS_DIST is a Linux path, seen
// under Wine through drive Z:.
#pragma once

#include <cstdlib>
#include <string>

inline std::string DistFile(const char* name) {
  const char* dist = std::getenv("CORVALIS_DIST");
  std::string path = dist ? dist : ".";
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path + "\\" + name;
}
