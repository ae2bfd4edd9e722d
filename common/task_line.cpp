#include "common/task_line.h"

namespace corvalis {

std::string Field(const std::string& line, int n) {
  if (n < 1) return std::string();
  std::size_t start = 0;
  for (int i = 1; i < n; ++i) {
    std::size_t sep = line.find(kFieldSeparator, start);
    if (sep == std::string::npos) return std::string();
    start = sep + 1;
  }
  std::size_t end = line.find(kFieldSeparator, start);
  return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

bool HoldsFieldSeparator(const std::string& text) { return text.find(kFieldSeparator) != std::string::npos; }

int FieldCount(const std::string& line) {
  int count = 1;
  for (char c : line) {
    if (c == kFieldSeparator) ++count;
  }
  return count;
}

}  // namespace corvalis
