// What the shipping audit reads from a built 32-bit Windows program or DLL: its sections,
// the DLLs and functions it imports (directly and delay-loaded) and its manifest. Plain
// code over the file's bytes, so it runs on the build machine.
#pragma once

#include <string>
#include <vector>

namespace pe_audit {

struct ImportedDll {
  std::string name;                    // as the file names it
  std::vector<std::string> functions;  // by name, or "#<ordinal>"
  bool delayLoaded = false;
};

struct PeImage {
  std::vector<std::string> sectionNames;
  std::vector<ImportedDll> imports;
  std::string manifest;  // the RT_MANIFEST resource; empty when there is none
};

// false with a reason when the bytes are not a well-formed 32-bit image.
bool ReadPeImage(const std::string& bytes, PeImage* image, std::string* error);

}  // namespace pe_audit
