// xtrahost.exe end to end under Wine: loads each Xtra, registers, runs calls and
// ends with nothing leaked.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/xtra/xtrahost_runner.h"

namespace {

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
                    "-- a comment\r\nHFStoPOSIX(\"C:/a b\")\r\n\r\nPOSIXtoHFS(42)\n");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_TRUE(Has(run.output, "msgTable:\nxtra nelOSUtil\n")) << run.output;
  EXPECT_TRUE(Has(run.output, "safeForShockwave: (not stored)\n")) << run.output;
  EXPECT_EQ(ResultLines(run.output), (std::vector<std::string>{"\"C:/a b\"", "\"42\""})) << run.output;
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
