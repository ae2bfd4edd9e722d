// mkinstaller: appends a package (application files, configuration) to the installer stub.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/mkinstaller/package_builder.h"

int main(int argc, char** argv) {
  mkinstaller::BuilderOptions options;
  std::string error;
  if (!mkinstaller::ParseArguments(std::vector<std::string>(argv + 1, argv + argc), &options, &error)) {
    std::fprintf(stderr, "mkinstaller: %s\n%s\n", error.c_str(), mkinstaller::kUsage);
    return 2;
  }
  if (!mkinstaller::BuildPackage(options, &error)) {
    std::fprintf(stderr, "mkinstaller: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
