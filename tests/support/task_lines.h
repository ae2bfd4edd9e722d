// Task lines as tests write them: "|" stands for the pilcrow.
#pragma once

#include <algorithm>
#include <string>

#include "common/task_line.h"

namespace corvalis {

inline std::string Pilcrows(std::string text) {
  std::replace(text.begin(), text.end(), '|', kFieldSeparator);
  return text;
}

}  // namespace corvalis
