#include "xtra/osutil/system_functions.h"

#include "common/system_dlls.h"

FARPROC SystemFunction(SystemLibrary& library, const char* name) {
  if (!library.tried) {
    library.tried = true;
    library.module = corvalis::LoadSystemLibrary(library.fileName);
  }
  return library.module ? GetProcAddress(library.module, name) : nullptr;
}
