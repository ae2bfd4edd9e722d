// Expanding a task line never adds or removes a field, whatever the destination, group
// or program name holds.
#include <cstdint>
#include <string>

#include "common/path_variables.h"
#include "common/task_line.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  corvalis::PathContext context;
  context.InstallPath = Part(input, 0);
  context.StartMenuGroupPath = Part(input, 1);
  context.AppName = Part(input, 2);
  const std::string line = Part(input, 3);
  std::string expanded;
  if (corvalis::ExpandTaskLine(line, context, &expanded)) {
    FUZZ_CHECK(corvalis::FieldCount(expanded) == corvalis::FieldCount(line), line);
    FUZZ_CHECK(corvalis::Field(expanded, 1) == corvalis::ExpandAll(corvalis::Field(line, 1), context), line);
  }
  return 0;
}
