// xtrahost.exe end to end under Wine: loads each Xtra, registers, runs calls and
// ends with nothing leaked.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/xtra/xtra_test_paths.h"

namespace {

constexpr DWORD kRunTimeoutMs = 60000;

struct HostRun {
  DWORD exitCode = 0xFFFFFFFF;
  std::string output;  // standard output and standard error together
};

HostRun RunHost(const std::string& arguments, const std::string& input = "") {
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
    char buffer[4096];
    DWORD got = 0;
    // The pipe closes when the host ends; the wait below bounds a host that hangs.
    while (ReadFile(outRead, buffer, sizeof buffer, &got, nullptr) && got > 0) run.output.append(buffer, got);
    if (WaitForSingleObject(process.hProcess, kRunTimeoutMs) == WAIT_OBJECT_0) {
      GetExitCodeProcess(process.hProcess, &run.exitCode);
    } else {
      TerminateProcess(process.hProcess, 99);
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
  } else {
    CloseHandle(inWrite);
  }
  CloseHandle(outRead);
  return run;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The lines the calls printed: after the registration's last line, before the unload check.
std::vector<std::string> ResultLines(const std::string& output) {
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

TEST(XtrahostRun, NetWireXtraRegistersRunsCallsAndUnloads) {
  HostRun run = RunHost("\"" + DistFile("NetWireXtra.x32") + "\" \"GetLocalIP()\" \"HasNext()\"");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_TRUE(Has(run.output, "class {81C7C73C-5211-40F9-AF8C-0A413C574741} 0x01000040 interface "
                              "{AC401FB6-0001-F9B0-0000-0800072C6326} 0x01000040\n"))
      << run.output;
  EXPECT_TRUE(Has(run.output, "msgTable:\nxtra NetWireXtra\nnew object me\n")) << run.output;
  EXPECT_TRUE(Has(run.output, "safeForShockwave: 1\n")) << run.output;
  EXPECT_TRUE(Has(run.output, "DllCanUnloadNow: 0x00000000\n")) << run.output;
}

TEST(XtrahostRun, NelXtraReadsCallsFromStandardInput) {
  HostRun run = RunHost("--host-version 10.1 \"" + DistFile("nelXtra.x32") + "\"",
                    "-- a comment\r\nGetOSName()\r\n\r\nGetIMEConversion()\n");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_TRUE(Has(run.output, "msgTable:\nxtra nelOSUtil\n")) << run.output;
  EXPECT_TRUE(Has(run.output, "safeForShockwave: (not stored)\n")) << run.output;
  EXPECT_EQ(ResultLines(run.output).size(), 2u) << run.output;
  EXPECT_TRUE(Has(run.output, "DllCanUnloadNow: 0x00000000\n")) << run.output;
}

TEST(XtrahostRun, SleepLinesPauseBetweenCalls) {
  const DWORD start = GetTickCount();
  HostRun run = RunHost("\"" + DistFile("NetWireXtra.x32") + "\" \"HasNext()\" \"sleep(1500)\" \"HasNext()\"");
  EXPECT_GE(GetTickCount() - start, 1500u);
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_EQ(ResultLines(run.output).size(), 2u) << run.output;
}

TEST(XtrahostRun, FailuresShowInTheExitCode) {
  const std::string nel = " \"" + DistFile("nelXtra.x32") + "\" ";
  const std::string netWire = " \"" + DistFile("NetWireXtra.x32") + "\" ";
  struct Case {
    std::string arguments;
    std::vector<std::string> expected;  // in the output, every one
  };
  const Case cases[] = {
      {netWire + "\"NoSuchMethod()\"", {"no method NoSuchMethod", "DllCanUnloadNow: 0x00000000\n"}},
      {"--without player" + nel + "\"GetOSName()\"", {"0x80004002", "DllCanUnloadNow: 0x00000000\n"}},
      {"--fail put" + nel + "\"GetOSName()\"", {"Register failed with 0x80004005", "msgTable: (not stored)"}},
      {"--fail everything" + nel, {"unknown fault everything"}},
      {netWire + "\"sleep(-5)\" \"HasNext()\"", {"error: sleep takes", "DllCanUnloadNow: 0x00000000\n"}},
      {"\"" + DistFile("NoSuchXtra.x32") + "\"", {"cannot load"}},
  };
  for (const Case& c : cases) {
    HostRun run = RunHost(c.arguments);
    EXPECT_EQ(run.exitCode, 1u) << c.arguments << "\n" << run.output;
    for (const std::string& part : c.expected) EXPECT_TRUE(Has(run.output, part)) << part << "\n" << run.output;
  }
}

TEST(XtrahostRun, AnInterfaceObjectLeftAliveIsAnError) {
  HostRun run = RunHost("\"" + WinePath(LEAKY_XTRA) + "\" \"Ping()\"");
  EXPECT_EQ(run.exitCode, 2u) << run.output;
  EXPECT_TRUE(Has(run.output, "DllCanUnloadNow: 0x80040003\n")) << run.output;
  EXPECT_TRUE(Has(run.output, "interface objects are still alive")) << run.output;
}

}  // namespace
