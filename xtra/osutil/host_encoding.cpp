#include "xtra/osutil/host_encoding.h"

bool HostVersionUsesUtf8(const char* versionText) {
  // Two-digit majors from 11 up: the second character is past '0' and a full stop follows.
  return versionText[0] != '\0' && versionText[1] > '0' && versionText[2] == '.';
}
