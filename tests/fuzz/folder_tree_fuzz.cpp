// The folder-tree rule never accepts a root, in any spelling: what it accepts is a drive
// or a share with at least one plain folder name below it.
#include <cstdint>
#include <string>
#include <vector>

#include "common/ansi_text.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path(reinterpret_cast<const char*>(data), size);
  if (!corvalis::IsRemovableFolderTree(path)) return 0;
  std::vector<std::string> parts(1);
  for (const char c : path) {
    FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && std::string("?*<>|\"").find(c) == std::string::npos, path);
    if (c == '\\' || c == '/') {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  if (parts.size() > 1 && parts.back().empty()) parts.pop_back();
  std::size_t below;
  if (parts[0].empty()) {
    // "\\server\share\x": no namespace, a real server and share.
    FUZZ_CHECK(parts.size() >= 5 && parts[1].empty(), path);
    FUZZ_CHECK(parts[2] != "?" && parts[2] != "." && parts[2].find_first_not_of(' ') != std::string::npos, path);
    FUZZ_CHECK(parts[3].find_first_not_of(' ') != std::string::npos, path);
    below = 4;
  } else {
    FUZZ_CHECK(parts[0].size() == 2 && parts[0][1] == ':' && parts.size() >= 2, path);
    below = 1;
  }
  for (std::size_t i = below; i < parts.size(); ++i) {
    FUZZ_CHECK(parts[i].find_first_not_of(". ") != std::string::npos && parts[i].find(':') == std::string::npos, path);
  }
  return 0;
}
