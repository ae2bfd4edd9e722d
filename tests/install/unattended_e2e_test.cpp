// Runs without questions, as deployment tools start them: the switches, the exit codes,
// the log, and what a silent run shows: nothing, or the progress window alone.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>
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

// Every file below folder, a line each: its name, attributes, date and a hash of its
// content (the date only of what came from the archive).
std::vector<std::string> DescribeTree(const std::string& folder, const std::string& relative = "") {
  std::vector<std::string> lines;
  WIN32_FIND_DATAA found = {};
  HANDLE search = FindFirstFileA((folder + relative + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return lines;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    std::string line = relative + name + " " + std::to_string(found.dwFileAttributes);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      lines.push_back(line);
      const std::vector<std::string> inner = DescribeTree(folder, relative + name + "\\");
      lines.insert(lines.end(), inner.begin(), inner.end());
      continue;
    }
    if (name.rfind("Uninst0.", 0) != 0) {
      line += " " + std::to_string(found.ftLastWriteTime.dwHighDateTime) + ":" +
              std::to_string(found.ftLastWriteTime.dwLowDateTime);
    }
    lines.push_back(line + " " + std::to_string(std::hash<std::string>()(ReadWholeFile(folder + relative + name))));
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return lines;
}

// The first line where two lists differ, or "" when they don't.
std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b) {
  for (std::size_t i = 0; i < a.size() || i < b.size(); ++i) {
    const std::string left = i < a.size() ? a[i] : "(none)", right = i < b.size() ? b[i] : "(none)";
    if (left != right) return "line " + std::to_string(i) + ": " + left + " | " + right;
  }
  return "";
}

// Thousands of small files, from a ZIP and from a solid package, unpacked by several
// threads, and by one (the process limited to one processor): the same tree, the same
// uninstall data, the same log; each time removed to nothing.
TEST(Unattended, UnpackingOnSeveralThreadsEqualsOneThread) {
  const std::string entry = kUninstallEntryKey + std::string("Corvalis Cancel");
  const std::string destination = "C:\\" + UniqueName("CorvThreads") + "\\";
  const std::string log = TempPath() + UniqueName("corv_threads") + ".log";
  DWORD_PTR own = 0, system = 0;
  ASSERT_TRUE(GetProcessAffinityMask(GetCurrentProcess(), &own, &system));
  for (const char* package : {"inst_cancel", "inst_cancel_solid"}) {
    std::vector<std::string> tree[2], unpacked[2];
    std::string data[2];
    for (int oneThread = 0; oneThread < 2; ++oneThread) {
      SCOPED_TRACE(std::string(package) + (oneThread ? " on one thread" : " on several"));
      // A child takes its parent's processors.
      ASSERT_TRUE(SetProcessAffinityMask(GetCurrentProcess(), oneThread ? 1 : own));
      InstallerRun run;
      const bool started = run.Start(package, "", "/VERYSILENT /DIR=\"" + destination + "\" /LOG=\"" + log + "\"");
      SetProcessAffinityMask(GetCurrentProcess(), own);
      ASSERT_TRUE(started);
      ASSERT_TRUE(run.WaitEnd(kStartMs, 0));
      tree[oneThread] = DescribeTree(destination);
      data[oneThread] = ReadWholeFile(destination + "Uninst0.dat");
      for (const std::string& line : LogLines(log)) {
        if (line.rfind("unpacked ", 0) == 0) unpacked[oneThread].push_back(line);
      }
      EXPECT_EQ(RunProgram("cmd /c \"" + ReadText(HKEY_LOCAL_MACHINE, entry, "QuietUninstallString") + "\"", kStartMs), 0);
      EXPECT_FALSE(Exists(destination));
      EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, entry));
      DeleteFileA(log.c_str());
    }
    EXPECT_GT(tree[0].size(), 3000u) << package;
    EXPECT_EQ(FirstDifference(tree[0], tree[1]), "") << package;
    EXPECT_FALSE(data[0].empty());
    EXPECT_TRUE(data[0] == data[1]) << package;
    EXPECT_EQ(FirstDifference(unpacked[0], unpacked[1]), "") << package;
  }
  DeleteFolderTree(destination);
  RemoveTree(HKEY_LOCAL_MACHINE, entry);
}

}  // namespace
