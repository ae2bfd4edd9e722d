#include "tools/mkinstaller/starter.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace mkinstaller {

bool WriteStarter(const std::string& folder, std::string* error) {
  std::error_code ec;
  if (fs::exists(folder, ec) && !fs::is_empty(folder, ec)) {
    *error = folder + " is not empty: --init writes into a new or empty folder only";
    return false;
  }
  std::size_t count = 0;
  const StarterFile* files = StarterFiles(&count);
  for (std::size_t i = 0; i < count; ++i) {
    const fs::path path = fs::path(folder) / files[i].path;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(files[i].bytes), static_cast<std::streamsize>(files[i].size));
    if (!out.flush()) {
      *error = "can't write " + path.string();
      return false;
    }
  }
  return true;
}

}  // namespace mkinstaller
