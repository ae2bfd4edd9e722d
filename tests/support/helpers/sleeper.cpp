// Stands in for an application process that an installation has to end. Leaves on its
// own after a minute so that a failed test can't leave it behind for long.
#include <windows.h>

int main() {
  Sleep(60000);
  return 0;
}
