// Task lines: fields separated by the pilcrow, counted from 1. The script's task lists,
// the undo log and the uninstaller's record lists all hold them.
#pragma once

#include <string>

namespace corvalis {

constexpr char kFieldSeparator = '\xB6';  // the pilcrow in code page 1252

// A named task line: key = Name, value = Line.
struct TaskEntry {
  std::string Name;
  std::string Line;
};

// A name (a destination, a group) that would split the task lines it is put into.
bool HoldsFieldSeparator(const std::string& text);

// Field n (from 1) of a line; a missing field is empty.
std::string Field(const std::string& line, int n);
int FieldCount(const std::string& line);

}  // namespace corvalis
