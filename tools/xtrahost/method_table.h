// Reads a registered "msgTable" text: the Xtra's name from its first line and the
// handler lines in order, whose positions are the selectors.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct MethodLine {
  std::string name;
  // Arguments the line declares, the Xtra's own reference ("object me") included.
  size_t argumentCount = 0;
};

struct MethodTable {
  std::string xtraName;
  std::vector<MethodLine> methods;  // index = selector
};

MethodTable ParseMethodTable(const std::string& text);

// The selector of a method, by Lingo's case-insensitive names; -1 when absent.
int FindSelector(const MethodTable& table, const std::string& name);
