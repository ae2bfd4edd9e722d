// xtrahost.exe end to end under Wine: loads each Xtra, registers, runs calls and
// ends with nothing leaked.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

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
  EXPECT_TRUE(Has(run.output, "DllCanUnloadNow: 0x00000000\n")) << run.output;
}

TEST(XtrahostRun, FailuresShowInTheExitCode) {
  HostRun unknown = RunHost("\"" + DistFile("NetWireXtra.x32") + "\" \"NoSuchMethod()\"");
  EXPECT_EQ(unknown.exitCode, 1u) << unknown.output;
  EXPECT_TRUE(Has(unknown.output, "no method NoSuchMethod")) << unknown.output;
  EXPECT_TRUE(Has(unknown.output, "DllCanUnloadNow: 0x00000000\n")) << unknown.output;

  HostRun withoutPlayer = RunHost("--without player \"" + DistFile("nelXtra.x32") + "\" \"GetOSName()\"");
  EXPECT_EQ(withoutPlayer.exitCode, 1u) << withoutPlayer.output;
  EXPECT_TRUE(Has(withoutPlayer.output, "0x80004002")) << withoutPlayer.output;
  EXPECT_TRUE(Has(withoutPlayer.output, "DllCanUnloadNow: 0x00000000\n")) << withoutPlayer.output;

  HostRun missing = RunHost("\"" + DistFile("NoSuchXtra.x32") + "\"");
  EXPECT_EQ(missing.exitCode, 1u) << missing.output;
}

TEST(XtrahostRun, AnInterfaceObjectLeftAliveIsAnError) {
  HostRun run = RunHost("\"" + WinePath(LEAKY_XTRA) + "\" \"Ping()\"");
  EXPECT_EQ(run.exitCode, 2u) << run.output;
  EXPECT_TRUE(Has(run.output, "DllCanUnloadNow: 0x80040003\n")) << run.output;
  EXPECT_TRUE(Has(run.output, "interface objects are still alive")) << run.output;
}

}  // namespace
