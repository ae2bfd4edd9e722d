// Where the deliverables take their DLLs from. Windows looks in a program's own folder
// before the system folder for any DLL that is not a known system DLL, and our programs run
// with administrator rights from download and temporary folders that anyone can write.
#pragma once

#include <windows.h>

namespace corvalis {

// The first call of every program: takes the program's own and the current folder out of
// the DLL search. Works on systems that lack the newer calls (looked up at run time).
void RestrictDllSearchPath();

// Loads a DLL by its full path in the system folder, its own dependencies resolved from
// there too; nullptr when it can't be loaded.
HMODULE LoadSystemLibrary(const char* fileName);

// A function of a DLL in the system folder, the DLL loaded by LoadSystemLibrary and kept;
// nullptr when either is missing. For calls made once or a few times.
template <typename Fn>
Fn SystemFunction(const char* fileName, const char* functionName) {
  HMODULE module = LoadSystemLibrary(fileName);
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, functionName))) : nullptr;
}

}  // namespace corvalis
