#include <windows.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <vector>

#include "common/ansi_text.h"
#include "common/run_mode.h"
#include "common/system_operations.h"

namespace corvalis {
namespace {

static_assert(sizeof(PROCESSENTRY32) == 296, "the ANSI process entry the snapshot walk expects");

using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);

bool NameMatches(const std::string& exeName, const std::string& target) {
  const std::string name = ToLowerAnsi(exeName);
  return !name.empty() && (name == target || ToLowerAnsi(FileNamePart(exeName)) == target);
}

template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

int TerminateProcessById(DWORD processId) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, processId);
  if (!process) return 0;
  const BOOL ended = TerminateProcess(process, 1);
  CloseHandle(process);
  return ended ? 1 : 0;
}

int KillProcessesByName(const std::string& name) {
  const std::string target = ToLowerAnsi(TrimSpaces(name));
  if (target.empty()) return 0;
  HMODULE kernel = LoadLibraryA("Kernel32.dll");
  if (!kernel) return 0;
  auto createSnapshot = Lookup<CreateSnapshotFn>(kernel, "CreateToolhelp32Snapshot");
  auto first = Lookup<ProcessWalkFn>(kernel, "Process32First");
  auto next = Lookup<ProcessWalkFn>(kernel, "Process32Next");
  if (!createSnapshot || !first || !next) {
    FreeLibrary(kernel);
    return 0;
  }
  int result = 0;
  HANDLE snapshot = createSnapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot != INVALID_HANDLE_VALUE) {
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = first(snapshot, &entry); more; more = next(snapshot, &entry)) {
      const std::string exeName = entry.szExeFile;
      // Names come as ANSI from the snapshot; reading them as UTF-8 as well keeps both
      // spellings of a non-ASCII name matching.
      if (NameMatches(exeName, target) || NameMatches(Utf8ToAnsi(exeName), target)) {
        result = TerminateProcessById(entry.th32ProcessID);
      }
    }
    CloseHandle(snapshot);
  }
  FreeLibrary(kernel);
  return result;
}

bool LaunchProgram(const std::string& program, const std::string& parameters, const std::string& workingFolder,
                   int showCommand, bool wait, bool errorBox, int* exitCode) {
  SHELLEXECUTEINFOA info = {};
  info.cbSize = sizeof info;
  // Nobody could answer the shell's own box in a silent run; failure shows in the result.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | (errorBox && !IsSilentRun() ? 0 : SEE_MASK_FLAG_NO_UI);
  info.lpVerb = "open";
  info.lpFile = program.c_str();
  info.lpParameters = parameters.c_str();
  const std::string folder = workingFolder.empty() ? FolderPart(program) : workingFolder;
  info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  info.nShow = showCommand;
  if (!ShellExecuteExA(&info)) return false;
  DWORD code = static_cast<DWORD>(-1);
  if (info.hProcess) {
    if (wait) {
      WaitForSingleObject(info.hProcess, INFINITE);
      GetExitCodeProcess(info.hProcess, &code);
    }
    CloseHandle(info.hProcess);
  }
  if (exitCode) *exitCode = static_cast<int>(code);
  return true;
}

}  // namespace corvalis
