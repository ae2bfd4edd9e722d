// The uninstall data reads back what its writer stored, and nothing more: a value the
// writer accepts never becomes a second record. What the uninstaller builds from a data
// file stays bounded.
#include <cstdint>
#include <string>

#include "common/ansi_text.h"
#include "common/uninstall_data.h"
#include "tests/fuzz/fuzz_check.h"
#include "uninstaller/uninstall_session.h"

using namespace corvalis;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);

  // Any file: read, written and read again, it stands still after one round.
  const UninstallData read = ParseUninstallData(input);
  const std::string once = FormatUninstallData(read);
  FUZZ_CHECK(FormatUninstallData(ParseUninstallData(once)) == once, "round trip");
  const UninstallSession session = SessionFromData(read);
  for (const std::string& text : session.UninstallTexts) {
    FUZZ_CHECK(text.size() <= kMaxBuiltTextChars || text.size() <= input.size(), "text bounded");
  }

  // Values taken from the input: stored only when they read back the same.
  UninstallData written;
  written.AppName = Part(input, 0);
  written.InstallPath = Part(input, 1);
  written.InstTasks = {{Part(input, 2), Part(input, 3)}};
  written.Files = {Part(input, 4)};
  if (!UnstorableValue(written).empty()) return 0;
  const UninstallData back = ParseUninstallData(FormatUninstallData(written));
  FUZZ_CHECK(back.AppName == written.AppName && back.InstallPath == written.InstallPath, "config");
  FUZZ_CHECK(back.InstTasks.size() == 1 && back.InstTasks[0].Name == written.InstTasks[0].Name &&
                 back.InstTasks[0].Line == written.InstTasks[0].Line,
             "one record, as written");
  FUZZ_CHECK(back.UninstTasks.empty(), "no record of another group");
  FUZZ_CHECK(back.Files == written.Files, "files");
  return 0;
}
