// Command lines as users and deployment tools type them, and what the installer makes
// of them.
#include <gtest/gtest.h>

#include "common/command_line.h"
#include "installer/startup/command_line.h"

namespace corvalis {
namespace {

TEST(CommandLine, ParametersAndSwitches) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitParameters("  a \"b c\"\t\"\"  d\"e f\"g "), (V{"a", "b c", "", "de fg"}));
  EXPECT_EQ(SplitParameters("/DIR=\"C:\\Program Files\\App\\\" /S"), (V{"/DIR=C:\\Program Files\\App\\", "/S"}));
  EXPECT_EQ(ParametersOf("\"C:\\My Setup.exe\" /S"), " /S");
  EXPECT_EQ(ParametersOf("Setup.exe"), "");

  CommandSwitch parsed;
  ASSERT_TRUE(ReadSwitch("-log=C:\\a=b.txt", &parsed));
  EXPECT_EQ(parsed.Name, "LOG");
  EXPECT_TRUE(parsed.HasValue);
  EXPECT_EQ(parsed.Value, "C:\\a=b.txt");
  EXPECT_FALSE(ReadSwitch("C:\\x", &parsed));
  EXPECT_FALSE(ReadSwitch("/", &parsed));

  std::string before, folder;
  ASSERT_TRUE(SplitTrailingFolder("/S /D=C:\\Program Files\\App ", &before, &folder));
  EXPECT_EQ(before, "/S ");
  EXPECT_EQ(folder, "C:\\Program Files\\App");
  EXPECT_FALSE(SplitTrailingFolder("/DIR=C:\\x \"/D=C:\\y\"", &before, &folder));
}

struct Case {
  const char* line;
  StartAction action;
  RunMode mode;
  const char* destination;
  const char* problem;  // a part of the problem text, for Usage
};

TEST(CommandLine, InstallerOptions) {
  const StartAction I = StartAction::Install, E = StartAction::Export, U = StartAction::Usage, H = StartAction::Help;
  const RunMode N = RunMode::Interactive, S = RunMode::Silent, V = RunMode::VerySilent;
  const Case cases[] = {
      // Without unattended switches: the first two parameters, as always.
      {"", I, N, "", ""},
      {"-u", I, N, "", ""},
      {"-u \"\"", I, N, "", ""},
      {"anything", I, N, "", ""},
      {"/FOO", U, N, "", "unknown parameter \"/FOO\""},
      {"-u C:\\out ignored", E, N, "", ""},
      {"/x y", U, N, "", ""},
      {"-U y", U, N, "", ""},
      // Unattended.
      {"/VERYSILENT /DIR=C:\\App", I, V, "C:\\App\\", ""},
      {"/s", I, V, "", ""},
      {"-quiet /SILENT", I, V, "", ""},
      {"/SILENT /SUPPRESSMSGBOXES", I, S, "", ""},
      {"/silent /dir=\"C:\\Program Files\\My App\\\"", I, S, "C:\\Program Files\\My App\\", ""},
      {"/S /D=C:\\Program Files\\My App", I, V, "C:\\Program Files\\My App\\", ""},
      {"/D=\\\\server\\share\\App", I, N, "\\\\server\\share\\App\\", ""},
      {"/?", H, N, "", ""},
      {"/VERYSILENT /HELP", H, V, "", ""},
      {"/x /VERYSILENT", U, V, "", "unknown parameter \"/x\""},
      {"/SILENT extra", U, S, "", "unknown parameter \"extra\""},
      {"/VERYSILENT /DIR=App", U, V, "", "not a full path"},
      {"/VERYSILENT /DIR=", U, V, "", "needs a value"},
      {"/SILENT=1", U, N, "", "takes no value"},
      {"/LANG", U, N, "", "needs a value"},
      // Other installer families' spellings, as deployment tools pass them.
      {"/qn", I, V, "", ""},
      {"/passive /norestart", I, S, "", ""},
      {"/SP- /NOCANCEL /NOCLOSEAPPLICATIONS /VERYSILENT", I, V, "", ""},
      {"/QN=1", U, N, "", "takes no value"},
      // The field separator would split every task line the name stands in.
      {"/VERYSILENT /DIR=C:\\Data\xB6New", U, V, "", "separates task fields"},
      {"/S /GROUP=Tools\xB6" "Extra", U, V, "", "separates task fields"},
  };
  for (const Case& c : cases) {
    const InstallerOptions options = ReadInstallerOptions(c.line);
    EXPECT_EQ(options.Action, c.action) << c.line;
    EXPECT_EQ(options.Mode, c.mode) << c.line;
    EXPECT_EQ(options.Destination, c.destination) << c.line;
    EXPECT_NE(options.Problem.find(c.problem), std::string::npos) << c.line << ": " << options.Problem;
  }
}

TEST(CommandLine, LogGroupLanguageAndRestart) {
  InstallerOptions o = ReadInstallerOptions("/LOG=\"C:\\logs\\setup.log\" /GROUP=\"My Group\" /LANG=deutsch");
  EXPECT_EQ(o.Mode, RunMode::Interactive);
  EXPECT_TRUE(o.Log);
  EXPECT_EQ(o.LogPath, "C:\\logs\\setup.log");
  EXPECT_EQ(o.Group, "My Group");
  EXPECT_EQ(o.Language, "deutsch");
  EXPECT_FALSE(o.NoRestart);

  o = ReadInstallerOptions("/VERYSILENT /NOICONS");
  EXPECT_TRUE(o.Log) << "silent runs always log";
  EXPECT_TRUE(o.LogPath.empty());
  EXPECT_TRUE(o.NoGroup);
  EXPECT_TRUE(o.NoRestart) << "silent runs never restart by themselves";
  o = ReadInstallerOptions("/VERYSILENT /FORCERESTART /NORESTART");
  EXPECT_TRUE(o.ForceRestart);
  EXPECT_FALSE(o.NoRestart);
  EXPECT_TRUE(ReadInstallerOptions("/LOG").Log);

  // Nobody sees a window in a service's session: every run there is very silent.
  for (const char* line : {"", "-u C:\\out", "/LOG"}) {
    o = ReadInstallerOptions(line, false);
    EXPECT_EQ(o.Mode, RunMode::VerySilent) << line;
    EXPECT_TRUE(o.Log && o.NoRestart) << line;
  }
}

}  // namespace
}  // namespace corvalis
