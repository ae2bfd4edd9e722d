#include "tools/mkinstaller/starter.h"

#include <filesystem>
#include <string>

#include "common/whole_file.h"

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
    const std::string bytes(reinterpret_cast<const char*>(files[i].bytes), files[i].size);
    if (!corvalis::WriteFileBytes(path.string(), bytes)) {
      *error = "can't write " + path.string();
      return false;
    }
  }
  return true;
}

}  // namespace mkinstaller
