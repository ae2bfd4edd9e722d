// Runs xtrahost.exe under Wine for a test: arguments, standard input, and everything
// it printed with its exit code.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/xtra/xtra_test_paths.h"

namespace {

constexpr DWORD kRunTimeoutMs = 120000;

struct HostRun {
  DWORD exitCode = 0xFFFFFFFF;
  std::string output;  // standard output and standard error together
};

inline HostRun RunHost(const std::string& arguments, const std::string& input = "") {
  HostRun run;
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE outRead = nullptr, outWrite = nullptr, inRead = nullptr, inWrite = nullptr;
  if (!CreatePipe(&outRead, &outWrite, &inherit, 0) || !CreatePipe(&inRead, &inWrite, &inherit, 0)) return run;
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inRead;
  startup.hStdOutput = outWrite;
  startup.hStdError = outWrite;
  PROCESS_INFORMATION process = {};
  std::string command = "\"" + DistFile("xtrahost.exe") + "\" " + arguments;
  const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  CloseHandle(outWrite);
  CloseHandle(inRead);
  if (started) {
    DWORD written = 0;
    if (!input.empty()) WriteFile(inWrite, input.data(), DWORD(input.size()), &written, nullptr);
    CloseHandle(inWrite);
    // Read until the host has ended and the pipe is drained, not until the pipe closes:
    // programs that Wine starts on the side (its desktop) may inherit the pipe's other end.
    const DWORD deadline = GetTickCount() + kRunTimeoutMs;
    char buffer[4096];
    for (;;) {
      const bool ended = WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0;
      DWORD available = 0;
      while (PeekNamedPipe(outRead, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        DWORD got = 0;
        if (!ReadFile(outRead, buffer, sizeof buffer, &got, nullptr) || got == 0) break;
        run.output.append(buffer, got);
      }
      if (ended) {
        GetExitCodeProcess(process.hProcess, &run.exitCode);
        break;
      }
      if (GetTickCount() - deadline < 0x80000000u) {
        TerminateProcess(process.hProcess, 99);
        break;
      }
      Sleep(20);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  } else {
    CloseHandle(inWrite);
  }
  CloseHandle(outRead);
  return run;
}

inline bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The lines the calls printed: after the registration's last line, before the unload check.
inline std::vector<std::string> ResultLines(const std::string& output) {
  std::vector<std::string> lines;
  const std::string head = "safeForShockwave: ";
  size_t start = output.find(head);
  if (start == std::string::npos) return lines;
  start = output.find('\n', start) + 1;
  const size_t end = output.find("DllCanUnloadNow: ", start);
  while (start < end && start < output.size()) {
    const size_t newline = output.find('\n', start);
    if (newline == std::string::npos || newline > end) break;
    lines.push_back(output.substr(start, newline - start));
    start = newline + 1;
  }
  return lines;
}

}  // namespace
