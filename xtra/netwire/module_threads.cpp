#include "xtra/netwire/netwire_net.h"

namespace {

HMODULE ModuleOfThisCode(DWORD extraFlags) {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | extraFlags,
                     reinterpret_cast<LPCSTR>(&ModuleOfThisCode), &module);
  return module;
}

}  // namespace

bool StartModuleThread(LPTHREAD_START_ROUTINE routine, void* argument) {
  HMODULE module = ModuleOfThisCode(0);
  if (!module) return false;
  HANDLE thread = CreateThread(nullptr, 0, routine, argument, 0, nullptr);
  if (!thread) {
    FreeLibrary(module);
    return false;
  }
  CloseHandle(thread);
  return true;
}

void EndModuleThread() {
  FreeLibraryAndExitThread(ModuleOfThisCode(GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT), 0);
  __builtin_unreachable();
}
