// mkinstaller: appends a package (application files, configuration) to the installer stub.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/ini_file.h"
#include "common/whole_file.h"
#include "installer/package/package_layout.h"
#include "installer/config/script_check.h"
#include "tools/mkinstaller/config_check.h"
#include "tools/mkinstaller/package_builder.h"
#include "tools/mkinstaller/starter.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") {
      std::printf("%s\n", mkinstaller::kUsage);
      return 0;
    }
  }
  if (!args.empty() && args[0] == "--init") {
    std::string error;
    if (args.size() != 2 || !mkinstaller::WriteStarter(args[1], &error)) {
      std::fprintf(stderr, "mkinstaller: %s\n", args.size() != 2 ? "--init takes one folder" : error.c_str());
      return 2;
    }
    std::printf("Wrote %s/config and %s/app. Build it with:\n  mkinstaller --stub Installer.exe --app %s/app "
                "--config %s/config --output Setup.exe\n",
                args[1].c_str(), args[1].c_str(), args[1].c_str(), args[1].c_str());
    return 0;
  }
  mkinstaller::BuilderOptions options;
  std::string error;
  if (!mkinstaller::ParseArguments(args, &options, &error)) {
    std::fprintf(stderr, "mkinstaller: %s\n%s\n", error.c_str(), mkinstaller::kUsage);
    return 2;
  }
  if (!mkinstaller::ReadSourceDateEpoch(std::getenv("SOURCE_DATE_EPOCH"), &options, &error)) {
    std::fprintf(stderr, "mkinstaller: %s\n", error.c_str());
    return 2;
  }
  const std::vector<std::string> problems = mkinstaller::CheckConfiguration(options.configFolder);
  for (const std::string& problem : problems) {
    std::fprintf(stderr, "mkinstaller: %s%s\n", options.lenient ? "warning: " : "", problem.c_str());
  }
  if (!problems.empty() && !options.lenient) {
    std::fprintf(stderr, "mkinstaller: nothing written (--lenient builds it anyway)\n");
    return 1;
  }
  if (!mkinstaller::BuildPackage(options, &error)) {
    std::fprintf(stderr, "mkinstaller: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
