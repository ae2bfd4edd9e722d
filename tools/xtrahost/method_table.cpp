#include "tools/xtrahost/method_table.h"

#include <cctype>
#include <sstream>

namespace {

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

}  // namespace

MethodTable ParseMethodTable(const std::string& text) {
  MethodTable table;
  std::istringstream lines(text);
  std::string line;
  bool seenHeader = false;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string first;
    if (!(words >> first) || first.compare(0, 2, "--") == 0) continue;
    if (!seenHeader) {
      seenHeader = true;
      if (first == "xtra") {
        words >> table.xtraName;
        continue;
      }
    }
    // "+ Name ..." and "* Name ..." are methods; a line such as "new object me" names its own.
    std::string name = first;
    if (first == "+" || first == "*") {
      if (!(words >> name)) continue;
    } else if (first[0] == '+' || first[0] == '*') {
      name = first.substr(1);
    }
    table.methods.push_back(name);
  }
  return table;
}

int FindSelector(const MethodTable& table, const std::string& name) {
  for (size_t i = 0; i < table.methods.size(); ++i) {
    if (SameName(table.methods[i], name)) return static_cast<int>(i);
  }
  return -1;
}
