// The starter configuration `mkinstaller --init` writes: a package that builds and installs
// as it is, for a vendor to change.
#pragma once

#include <cstddef>
#include <string>

namespace mkinstaller {

struct StarterFile {
  const char* path;  // below the folder given, "/" separated
  const unsigned char* bytes;
  std::size_t size;
};

// The files, built into the builder from tools/mkinstaller/starter and examples/sample.
const StarterFile* StarterFiles(std::size_t* count);

// Writes them below folder (made when missing); false, with *error, when the folder holds
// anything already or a file can't be written.
bool WriteStarter(const std::string& folder, std::string* error);

}  // namespace mkinstaller
