// A vendor's product made from the starter configuration (make_vendor_packages.py): installed
// silently into a folder of the user's choice, upgraded in place, removed to nothing; its
// programs carry its version and its signature.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/folder_tree.h"
#include "common/uninstall_data.h"
#include "tests/support/installer_run.h"
#include "tests/support/test_support.h"
#include "tools/winrobot/winrobot.h"

namespace {

using namespace corvalis;
using namespace corvalis::testing;
using namespace installer_e2e;

const std::string kEntry = std::string(kUninstallEntryKey) + "Acme Notes";
const std::string kProgId = "Software\\Classes\\acmenote_auto_file";

// A text of the program's version resource (US English, code page 1252).
std::string VersionText(const std::string& program, const std::string& name) {
  DWORD ignored = 0;
  std::string block(GetFileVersionInfoSizeA(program.c_str(), &ignored), '\0');
  void* value = nullptr;
  UINT length = 0;
  if (block.empty() || !GetFileVersionInfoA(program.c_str(), 0, static_cast<DWORD>(block.size()), &block[0]) ||
      !VerQueryValueA(block.data(), ("\\StringFileInfo\\040904E4\\" + name).c_str(), &value, &length)) {
    return "(none)";
  }
  return static_cast<const char*>(value);
}

// What `osslsigncode verify -CAfile` says of the program's signature: its exit code. Wine
// starts a Unix program without a process to wait for, so the shell leaves the code in a
// file, and the test waits for that file.
std::string VerifiedSignature(const std::string& program, const std::string& certificate) {
  const std::string name = UniqueName("corvalis_signed");
  const std::string copy = "Z:\\tmp\\" + name + ".exe", result = "Z:\\tmp\\" + name + ".rc";
  if (!CopyFileA(program.c_str(), copy.c_str(), FALSE)) return "can't copy " + program;
  std::string line = "Z:\\bin\\sh -c \"osslsigncode verify -CAfile '" + certificate + "' -in /tmp/" + name +
                     ".exe >/dev/null 2>&1; echo $? > /tmp/" + name + ".rc.part && mv /tmp/" + name + ".rc.part /tmp/" +
                     name + ".rc\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return "can't start the shell";
  }
  if (process.hThread) CloseHandle(process.hThread);
  if (process.hProcess) CloseHandle(process.hProcess);
  for (int waited = 0; waited < kStartMs && !Exists(result); waited += 50) Sleep(50);
  std::string code = ReadWholeFile(result);
  DeleteFileA(copy.c_str());
  DeleteFileA(result.c_str());
  while (!code.empty() && (code.back() == '\n' || code.back() == '\r')) code.pop_back();
  return code;
}

void RemoveAcme(const std::string& folder) {
  RemoveTree(HKEY_LOCAL_MACHINE, kEntry);
  RemoveTree(HKEY_LOCAL_MACHINE, "Software\\Acme");
  RemoveTree(HKEY_CURRENT_USER, "Software\\Acme");
  RemoveTree(HKEY_LOCAL_MACHINE, kProgId);
  RemoveTree(HKEY_LOCAL_MACHINE, "Software\\Classes\\.acmenote");
  DeleteFileA((ShellFolder(CSIDL_DESKTOPDIRECTORY) + "Acme Notes.lnk").c_str());
  DeleteFolderTree(ShellFolder(CSIDL_COMMON_PROGRAMS) + "Acme Notes\\");
  DeleteFolderTree(folder);
}

TEST(Vendor, StarterProductInstallsUpgradesInPlaceAndLeavesNothing) {
  const char* data = std::getenv("CORVALIS_TEST_DATA");
  ASSERT_NE(data, nullptr);
  const std::string certificate = std::string(data) + "/config/acme-cert.pem";
  const std::string folder = "C:\\" + UniqueName("Acme Chosen") + "\\";
  const std::string defaultFolder = ShellFolder(CSIDL_PROGRAM_FILES) + "Acme Notes\\";
  RemoveAcme(folder);
  {
    InstallerRun run;
    ASSERT_TRUE(run.Start("acme_1_4", "", "/VERYSILENT /DIR=\"" + folder + "\""));
    ASSERT_TRUE(run.WaitEnd(kStartMs, 0));
  }
  for (const char* file : {"AcmeNotes.exe", "Old.txt", "ReadMe.txt", "Uninst0.exe", "Uninst0.dat"}) {
    EXPECT_TRUE(Exists(folder + file)) << file;
  }
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kEntry, "DisplayVersion"), "1.4");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kEntry, "InstallLocation"), folder);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, "Software\\Acme\\Notes", "Edition"), "Home");
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, "Software\\Acme\\Notes", "Folder"), folder);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kProgId + "\\shell\\open\\command", ""),
            "\"" + folder + "AcmeNotes.exe\" \"%1\"");
  EXPECT_TRUE(Exists(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "Acme Notes.lnk"));
  EXPECT_TRUE(Exists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "Acme Notes\\Acme Notes.lnk"));

  // Both programs say whose they are; the uninstaller carries the vendor's signature.
  const std::string setup = winrobot::UnixToWindowsPath(std::string(data) + "/config/acme_1_4.exe");
  const struct {
    std::string program, name, value;
  } versions[] = {
      {setup, "ProductName", "Acme Notes"},          {setup, "FileDescription", "Acme Notes Setup"},
      {setup, "FileVersion", "1.4"},                 {setup, "LegalCopyright", "(C) 2026 Acme Test Vendor"},
      {folder + "Uninst0.exe", "CompanyName", "Acme"}, {folder + "Uninst0.exe", "FileDescription", "Acme Notes Uninstaller"},
  };
  for (const auto& version : versions) EXPECT_EQ(VersionText(version.program, version.name), version.value) << version.name;
  EXPECT_EQ(VerifiedSignature(folder + "Uninst0.exe", certificate), "0");

  // 2.0 without /DIR goes where 1.4 is.
  {
    InstallerRun run;
    ASSERT_TRUE(run.Start("acme_2_0", "", "/VERYSILENT"));
    ASSERT_TRUE(run.WaitEnd(kStartMs, 0));
  }
  EXPECT_TRUE(Exists(folder + "New.txt"));
  EXPECT_TRUE(Exists(folder + "Uninst1.exe"));
  EXPECT_FALSE(Exists(defaultFolder));
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kEntry, "DisplayVersion"), "2.0");
  EXPECT_EQ(VersionText(folder + "Uninst1.exe", "FileVersion"), "2.0");

  // Going back to 1.4 is allowed, and said so in the log.
  const std::string log = TempPath() + UniqueName("corvalis_acme") + ".log";
  {
    InstallerRun run;
    ASSERT_TRUE(run.Start("acme_1_4", "", "/VERYSILENT /LOG=\"" + log + "\""));
    ASSERT_TRUE(run.WaitEnd(kStartMs, 0));
  }
  EXPECT_NE(ReadWholeFile(log).find("downgrade: 2.0 is replaced by the older 1.4"), std::string::npos);
  DeleteFileA(log.c_str());
  EXPECT_TRUE(Exists(folder + "Uninst2.exe"));

  // The entry's quiet uninstallation takes every version along, parent keys included.
  EXPECT_EQ(RunProgram("cmd /c \"" + ReadText(HKEY_LOCAL_MACHINE, kEntry, "QuietUninstallString") + "\"", kStartMs), 0);
  EXPECT_FALSE(Exists(folder));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kEntry));
  for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) EXPECT_FALSE(KeyExists(root, "Software\\Acme"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProgId));
  EXPECT_FALSE(Exists(ShellFolder(CSIDL_DESKTOPDIRECTORY) + "Acme Notes.lnk"));
  EXPECT_FALSE(Exists(ShellFolder(CSIDL_COMMON_PROGRAMS) + "Acme Notes\\"));
  RemoveAcme(folder);
}

}  // namespace
