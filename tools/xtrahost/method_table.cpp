#include "tools/xtrahost/method_table.h"

#include <sstream>

#include "common/ansi_text.h"

namespace {

// "object xtraRef, integer type -- return a string" declares two arguments: the
// comma-separated items before the comment.
size_t CountArguments(std::string rest) {
  const size_t comment = rest.find("--");
  if (comment != std::string::npos) rest.erase(comment);
  size_t count = 0;
  size_t start = 0;
  for (;;) {
    const size_t comma = rest.find(',', start);
    const std::string item = rest.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (item.find_first_not_of(" \t\r") != std::string::npos) ++count;
    if (comma == std::string::npos) return count;
    start = comma + 1;
  }
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
    std::string rest;
    std::getline(words, rest);
    table.methods.push_back(MethodLine{name, CountArguments(rest)});
  }
  return table;
}

int FindSelector(const MethodTable& table, const std::string& name) {
  for (size_t i = 0; i < table.methods.size(); ++i) {
    if (corvalis::EqualsNoCase(table.methods[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}
