// The uninstaller: written by the installer beside its data file.
#include <windows.h>

#include "common/system_dlls.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  corvalis::RestrictDllSearchPath();
  return 0;
}
