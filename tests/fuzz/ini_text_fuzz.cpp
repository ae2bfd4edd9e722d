// Any INI text is read in time linear in its size (libFuzzer's -timeout holds each input
// to seconds) and every key line lands in exactly one group.
#include <cstdint>
#include <string>

#include "common/ini_file.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const corvalis::IniDocument document = corvalis::ParseIni(text);
  std::size_t keys = 0;
  for (const corvalis::IniGroup& group : document.Groups) keys += group.Keys.size();
  std::size_t lines = 0;
  for (const char c : text) lines += c == '\n' || c == '\r';
  FUZZ_CHECK(keys + document.StrayLines.size() <= lines + 1, "no line read twice");
  return 0;
}
