// What a fuzz target asserts: a broken property aborts with the input's story, which
// libFuzzer saves as a crash file.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition, text)                                                   \
  do {                                                                                \
    if (!(condition)) {                                                               \
      std::fprintf(stderr, "property broken: %s (%s)\n", #condition, std::string(text).c_str()); \
      std::abort();                                                                   \
    }                                                                                 \
  } while (0)

// The input's first parts, split at "\n" (the last part takes the rest).
inline std::string Part(const std::string& input, int index) {
  std::size_t start = 0;
  for (int i = 0; i < index; ++i) {
    const std::size_t end = input.find('\n', start);
    if (end == std::string::npos) return std::string();
    start = end + 1;
  }
  const std::size_t end = input.find('\n', start);
  return input.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
