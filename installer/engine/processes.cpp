#include <windows.h>
#include <tlhelp32.h>

#include <vector>

#include "installer/engine/association_plan.h"
#include "installer/engine/system_operations.h"

namespace corvalis {
namespace {

static_assert(sizeof(PROCESSENTRY32) == 296, "the ANSI process entry the snapshot walk expects");

using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);

std::string LowerAnsi(std::string text) {
  if (!text.empty()) CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
  return text;
}

std::string TrimSpaces(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The name read as UTF-8, in the ANSI code page; empty when it isn't valid UTF-8.
std::string Utf8ToAnsi(const std::string& text) {
  const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.c_str(), -1, nullptr, 0);
  if (wide <= 0) return std::string();
  std::vector<wchar_t> buffer(static_cast<std::size_t>(wide));
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.c_str(), -1, buffer.data(), wide);
  const int bytes = WideCharToMultiByte(CP_ACP, 0, buffer.data(), -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string ansi(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, buffer.data(), -1, &ansi[0], bytes, nullptr, nullptr);
  ansi.resize(static_cast<std::size_t>(bytes - 1));
  return ansi;
}

bool NameMatches(const std::string& exeName, const std::string& target) {
  const std::string name = LowerAnsi(exeName);
  return !name.empty() && (name == target || LowerAnsi(FileNamePart(exeName)) == target);
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
  const std::string target = LowerAnsi(TrimSpaces(name));
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

}  // namespace corvalis
