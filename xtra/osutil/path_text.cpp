#include "xtra/osutil/path_text.h"

#include <cstring>

void SlashesToBackslashes(char* path) {
  for (; *path; ++path) {
    if (*path == '/') *path = '\\';
  }
}

void RemoveFileSpec(char* path) {
  char* last = std::strrchr(path, '\\');
  const bool drive = path[0] && path[1] == ':';
  if (!last) {
    // "C:name" keeps its drive; a bare name leaves nothing.
    path[drive ? 2 : 0] = '\0';
    return;
  }
  const size_t at = static_cast<size_t>(last - path);
  // A root's backslash stays: "\name" and "C:\name".
  if (at == 0 || (drive && at == 2)) {
    last[1] = '\0';
  } else if (at == 1 && path[0] == '\\') {
    return;  // "\\server": nothing to remove
  } else {
    *last = '\0';
  }
}

void RemoveTrailingBackslash(char* path) {
  const size_t length = std::strlen(path);
  if (length > 0 && path[length - 1] == '\\') path[length - 1] = '\0';
}

void BuildDialogFilter(const char* filter, char* out, size_t n) {
  std::memset(out, 0, n);
  // Two bytes stay zero, so even a filter that fills the buffer ends the list.
  for (size_t i = 0; n >= 2 && i < n - 2 && filter[i]; ++i) out[i] = filter[i] == '|' ? '\0' : filter[i];
}
