// Whatever a command line says, a destination the installer takes is a full path outside
// the system's namespaces and holds no field separator, and no group holds one either.
#include <cstdint>
#include <string>

#include "common/ansi_text.h"
#include "common/task_line.h"
#include "installer/startup/command_line.h"
#include "tests/fuzz/fuzz_check.h"
#include "uninstaller/uninstall_session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  const corvalis::InstallerOptions options = corvalis::ReadInstallerOptions(line, size % 2 == 0);
  if (options.Action == corvalis::StartAction::Install && options.Problem.empty()) {
    FUZZ_CHECK(options.Destination.empty() || (corvalis::IsFullPath(options.Destination) &&
                                                !corvalis::HasNamespacePrefix(options.Destination)),
               line);
    FUZZ_CHECK(!corvalis::HoldsFieldSeparator(options.Destination + options.Group), line);
  }
  const corvalis::UninstallerOptions uninstall = corvalis::ReadUninstallerOptions(line);
  FUZZ_CHECK(uninstall.Mode == corvalis::RunMode::Interactive || uninstall.Log, line);
  return 0;
}
