// Functions of DLLs that Windows doesn't always take from the system folder: loaded
// from there by full path on first use and kept loaded.
#pragma once

#include <windows.h>

struct SystemLibrary {
  const char* fileName;
  HMODULE module;
  bool tried;
};

// Null when the DLL or the function is missing.
FARPROC SystemFunction(SystemLibrary& library, const char* name);

template <class F>
F SystemFunctionAs(SystemLibrary& library, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(SystemFunction(library, name)));
}
