// An entry name that the rule lets through lands below the destination, as a plain name
// the file calls read as the rule did.
#include <cstdint>
#include <string>

#include "installer/package/entry_names.h"
#include "tests/fuzz/fuzz_check.h"

namespace {

bool IsDevice(std::string part) {
  part = part.substr(0, part.find('.'));
  while (!part.empty() && part.back() == ' ') part.pop_back();
  for (char& c : part) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  if (part == "con" || part == "prn" || part == "aux" || part == "nul") return true;
  return part.size() == 4 && (part.rfind("com", 0) == 0 || part.rfind("lpt", 0) == 0) && part[3] >= '1' &&
         part[3] <= '9';
}

void CheckInside(const std::string& name, const corvalis::EntryTarget& target) {
  if (target.kind != corvalis::EntryKind::File && target.kind != corvalis::EntryKind::Folder) return;
  std::string path = target.relativePath;
  if (target.kind == corvalis::EntryKind::Folder && !path.empty()) {
    FUZZ_CHECK(path.back() == '\\', name);
    path.pop_back();
  }
  FUZZ_CHECK(target.kind == corvalis::EntryKind::Folder || !path.empty(), name);
  if (path.empty()) return;
  for (const char c : path) {
    FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20, name);
    FUZZ_CHECK(std::string("<>:\"|?*/").find(c) == std::string::npos, name);
  }
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = path.find('\\', start);
    const std::string part = path.substr(start, end == std::string::npos ? end : end - start);
    FUZZ_CHECK(!part.empty() && part.find_first_not_of(". ") != std::string::npos, name);
    FUZZ_CHECK(!IsDevice(part), name);
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // As unpacking sees it: "/" already turned into "\\".
  const std::string name = corvalis::SlashesToBackslashes(std::string(reinterpret_cast<const char*>(data), size));
  CheckInside(name, corvalis::ResolveEntryTarget(name, true));
  CheckInside(name, corvalis::ResolveEntryTarget(name, false));
  return 0;
}
