// Runs without questions, as deployment tools start them: the switches, the exit codes,
// the log, and what a silent run shows: nothing, or the progress window alone.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/folder_tree.h"
#include "common/system_operations.h"
#include "common/uninstall_data.h"
#include "installer/wizard/wizard_rules.h"
#include "tests/support/installer_run.h"
#include "tests/support/test_support.h"
#include "tests/support/wizard_steps.h"

namespace {

using namespace corvalis;
using namespace corvalis::testing;
using namespace installer_e2e;

// The log's lines without their times ("2026-12-07 23:01:02.345 ").
std::vector<std::string> LogLines(const std::string& path) {
  std::vector<std::string> lines;
  const std::string text = ReadWholeFile(path);
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    lines.push_back(line.size() > 24 ? line.substr(24) : line);
    start = end + 2;
  }
  return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& part) {
  for (const std::string& line : lines) {
    if (line.find(part) != std::string::npos) return true;
  }
  return false;
}

struct RefusedCase {
  const char* package;
  const char* wineVersion;
  const char* parameters;
  DWORD exitCode;
  const char* logged;
};

TEST(Unattended, EveryEndHasItsExitCodeAndItsLogAndNoWindow) {
  const RefusedCase cases[] = {
      {"wiz_bare", "", "/VERYSILENT /BOGUS", 87, "unknown parameter \"/BOGUS\""},
      {"wiz_bare", "", "/SILENT /DIR=Relative\\Folder", 87, "is not a full path"},
      {"wiz_bare", "", "/VERYSILENT /?", 0, "Installer.exe [/VERYSILENT | /SILENT]"},
      {"wiz_bare", "", "/VERYSILENT /LANG=Klingon", 87, "no language of that name: Klingon"},
      {"cfg_forbid_wv", "vista", "/VERYSILENT", 1603,
       "message \"Error\": The program cannot be installed on this operating system version!"},
  };
  for (const RefusedCase& c : cases) {
    SCOPED_TRACE(std::string(c.package) + " " + c.parameters);
    const std::string log = TempPath() + UniqueName("corv_refused") + ".log";
    WindowWatch watch;
    InstallerRun run;
    ASSERT_TRUE(run.Start(c.package, c.wineVersion, std::string(c.parameters) + " /LOG=\"" + log + "\""));
    EXPECT_TRUE(run.WaitEnd(kStartMs, c.exitCode));
    EXPECT_TRUE(watch.Titles().empty()) << *watch.Titles().begin();
    const std::vector<std::string> lines = LogLines(log);
    EXPECT_TRUE(HasLine(lines, c.logged));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().rfind("exit code " + std::to_string(c.exitCode) + " (", 0), 0u) << lines.back();
    DeleteFileA(log.c_str());
  }

  // An installation in another session (a deployment service's) holds the global name only.
  {
    const HANDLE global = CreateMutexA(nullptr, FALSE, "Global\\CorvalisInstaller");
    ASSERT_NE(global, nullptr);
    InstallerRun run;
    ASSERT_TRUE(run.Start("wiz_bare", "", "/VERYSILENT"));
    EXPECT_TRUE(run.WaitEnd(kStartMs, 1618));
    CloseHandle(global);
  }

  // Another installation holds the mutex, here one in its wizard.
  InstallerRun first;
  ASSERT_TRUE(first.Start("wiz_bare"));
  ASSERT_NE(first.WaitForWizard(), nullptr);
  WindowWatch watch;
  InstallerRun second;
  ASSERT_TRUE(second.Start("wiz_bare", "", "/VERYSILENT"));
  EXPECT_TRUE(second.WaitEnd(kStartMs, 1618));
  EXPECT_TRUE(watch.Titles().empty());
  EXPECT_TRUE(first.Running());
  RemoveTempFiles("wiz_bare-Setup-*.log");
}

// The sample with its licence and read-me pages, installed with /SILENT: the preparation
// window and the progress page are all there is to see, and the choices of the command
// line are what the installation used.
TEST(Unattended, SilentShowsOnlyTheProgressWindow) {
  const std::string destination = "C:\\" + UniqueName("CorvSilent") + "\\";
  const std::string groupName = UniqueName("Corvalis Silent Group ");
  const std::string group = AllUsersPrograms() + groupName + "\\";
  const std::string log = TempPath() + UniqueName("corv_silent") + ".log";
  WindowWatch watch;
  {
    InstallerRun run;
    ASSERT_TRUE(run.Start("wiz_full", "",
                          "/SILENT /DIR=\"" + destination + "\" /GROUP=\"" + groupName + "\" /LOG=\"" + log + "\""));
    EXPECT_TRUE(run.WaitEnd(kStartMs, 0));
  }
  // The preparation window may come and go between two looks.
  std::set<std::string> titles = watch.Titles();
  titles.erase("Initializing...");
  EXPECT_EQ(titles, std::set<std::string>{"Corvalis Sample v.1.0 :: Setup"});
  EXPECT_EQ(watch.WizardPages(), std::set<int>{kPageProgress});

  EXPECT_TRUE(Exists(destination + "Sample.txt"));
  EXPECT_TRUE(Exists(destination + "Uninst0.exe"));
  EXPECT_TRUE(Exists(group + "Read me.lnk"));
  const std::string desktopLink = ShellFolder(CSIDL_DESKTOPDIRECTORY) + "Corvalis Sample.lnk";
  EXPECT_TRUE(Exists(desktopLink)) << "a deferred shortcut is made as it is ticked";
  const std::vector<std::string> lines = LogLines(log);
  EXPECT_TRUE(HasLine(lines, "language: English"));
  EXPECT_TRUE(HasLine(lines, "chosen: destination " + destination + ", program group " + group));
  EXPECT_TRUE(HasLine(lines, "unpacked " + destination + "Sample.txt"));
  EXPECT_TRUE(HasLine(lines, "task AddKey: REGADDKEY"));
  EXPECT_TRUE(HasLine(lines, "finish action OpenReadMe: left out")) << "no program started";
  EXPECT_TRUE(HasLine(lines, "finish action DesktopLink: done"));
  EXPECT_EQ(lines.back(), "exit code 0 (success)");

  DeleteFolderTree(destination);
  DeleteFolderTree(group);
  DeleteFileA(desktopLink.c_str());
  DeleteFileA(log.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Corvalis Sample");
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kUninstallEntryKey + std::string("Corvalis Sample")).c_str());
  DisassociateExtension("csmp", "notepad.exe");
}

}  // namespace
