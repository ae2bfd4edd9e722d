// Every failure an outcome, every hostile name harmless: a destination that fills up while
// unpacking, damaged and hostile packages, the command lines deployment tools write for
// both programs, and DELETEFOLDER on the roots of a drive.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/control_ids.h"
#include "common/ansi_text.h"
#include "common/folder_tree.h"
#include "common/uninstall_data.h"
#include "installer/package/package_layout.h"
#include "installer/wizard/wizard_rules.h"
#include "tests/support/installer_run.h"
#include "tests/support/test_support.h"
#include "tests/support/wizard_steps.h"
#include "tools/winrobot/winrobot.h"

namespace {

using namespace corvalis;
using namespace corvalis::testing;
using namespace installer_e2e;

std::string Entry(const char* app) { return kUninstallEntryKey + std::string(app); }
const char kApp[] = "Corvalis Outcomes";

std::string ConfigPackage(const std::string& name) {
  const char* data = std::getenv("CORVALIS_TEST_DATA");
  return winrobot::UnixToWindowsPath(std::string(data ? data : "") + "/config/" + name + ".exe");
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The package with its application archive replaced by `archive`.
std::string WithApplicationArchive(const std::string& package, const std::string& archive) {
  const std::string bytes = ReadWholeFile(package);
  const unsigned char* tail = reinterpret_cast<const unsigned char*>(bytes.data()) + bytes.size() - kTrailerBytes;
  const std::size_t info = ReadLe32(tail), program = ReadLe32(tail + 4);
  const std::size_t programStart = bytes.size() - kTrailerBytes - info - program;
  std::string trailer(kTrailerBytes, '\0');
  WriteTrailer(reinterpret_cast<unsigned char*>(&trailer[0]), static_cast<std::uint32_t>(info),
               static_cast<std::uint32_t>(archive.size()));
  return bytes.substr(0, programStart) + archive + bytes.substr(programStart + program, info) + trailer;
}

std::string ApplicationArchive(const std::string& package) {
  const std::string bytes = ReadWholeFile(package);
  const unsigned char* tail = reinterpret_cast<const unsigned char*>(bytes.data()) + bytes.size() - kTrailerBytes;
  const std::size_t info = ReadLe32(tail), program = ReadLe32(tail + 4);
  return bytes.substr(bytes.size() - kTrailerBytes - info - program, program);
}

// The destination an installation must not have left anything of, and its entry.
void ExpectNothingOf(const std::string& destination, const char* app = kApp) {
  EXPECT_FALSE(Exists(destination)) << destination;
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Entry(app)));
}

void RemoveInstallation(const std::string& destination, const char* app = kApp) {
  DeleteFolderTree(destination);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, Entry(app).c_str());
}

// After an uninstallation: the package's files and entry gone (its settings, .ini files,
// stay by the script's choice), then the rest removed for the next case.
void ExpectUninstalled(const std::string& destination) {
  EXPECT_FALSE(Exists(destination + "big.bin"));
  EXPECT_FALSE(Exists(destination + "Uninst0.exe"));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Entry(kApp)));
  RemoveInstallation(destination);
}

int RunPackage(const std::string& package, const std::string& parameters) {
  return RunProgram(Quoted(package) + " " + parameters, kStartMs);
}

// A volume of 3 MB of the test's own (a tmpfs mounted by the test's fixture as root),
// reached through Wine's Z: drive; the system reports the root's free space for it, so
// the installer's space check passes and the writes fail.
class SmallDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* mount = std::getenv("CORVALIS_SMALL_DISK");
    folder_ = mount ? winrobot::UnixToWindowsPath(mount) + "\\" : std::string();
    if (folder_.empty() || !Exists(folder_ + ".small-disk")) {
      GTEST_SKIP() << "SKIPPED: no small volume (it is mounted only when the tests run as root)";
    }
    destination_ = folder_ + UniqueName("App") + "\\";
  }
  void TearDown() override {
    if (!folder_.empty()) RemoveInstallation(destination_);
    DeleteFileA(Filler().c_str());
  }
  // Leaves less room than the package's megabyte needs.
  void Fill() { ASSERT_TRUE(WriteFileText(Filler(), std::string(2600 * 1024, 'f'))); }
  std::string Filler() const { return folder_ + "filler.bin"; }

  std::string folder_, destination_;
};

TEST_F(SmallDisk, SilentRunEndsWith112AndLeavesNothing) {
  Fill();
  EXPECT_EQ(RunPackage(ConfigPackage("out_disk"), "/VERYSILENT /DIR=" + Quoted(destination_)), 112);
  ExpectNothingOf(destination_);
}

TEST_F(SmallDisk, TheWizardAsksAndRetriesOrRollsBack) {
  for (const char* answer : {"Cancel", "Retry"}) {
    SCOPED_TRACE(answer);
    Fill();
    InstallerRun run;
    ASSERT_TRUE(run.Start("out_disk", "", "/LANG=English /DIR=" + Quoted(destination_)));
    HWND wizard = run.WaitForWizard();
    ASSERT_NE(wizard, nullptr);
    ASSERT_TRUE(WaitForPage(wizard, kPageWelcome));
    Click(wizard, kIdWizardNext);
    ASSERT_TRUE(WaitForPage(wizard, kPageDestination));
    Click(wizard, kIdWizardNext);
    HWND box = winrobot::WaitForMessageBox(run.Pid(), "Error", kStartMs);
    ASSERT_NE(box, nullptr) << winrobot::LastError();
    const std::string text = winrobot::MessageBoxText(box);
    EXPECT_EQ(text.rfind("There is not enough space to write this file:\r\n" + destination_, 0), 0u) << text;
    if (std::string(answer) == "Retry") DeleteFileA(Filler().c_str());
    ASSERT_TRUE(winrobot::AnswerMessageBox(box, answer));
    if (std::string(answer) == "Cancel") {
      EXPECT_TRUE(run.WaitEnd(kStartMs, 1602));
      ExpectNothingOf(destination_);
      continue;
    }
    ASSERT_TRUE(WaitForPage(wizard, kPageFinish, kStartMs));
    Click(wizard, kIdWizardFinish);
    EXPECT_TRUE(run.WaitEnd(kStartMs, 0));
    EXPECT_EQ(ReadWholeFile(destination_ + "big.bin").size(), 1024u * 1024u);
    EXPECT_TRUE(Exists(destination_ + "Uninst0.dat"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Entry(kApp)));
  }
}

// A package whose archive is damaged, or names what must not be written: refused before
// anything is, with the damaged-package outcome.
TEST(HostilePackages, RefusedWithNothingWritten) {
  ScratchFolder scratch("hostile");
  const std::string package = ConfigPackage("out_disk");
  const std::string destination = scratch.path + "App\\";

  // A wrong CRC in the central directory: the entry inflates, then fails its check.
  std::string damaged = ApplicationArchive(package);
  for (std::size_t at = damaged.find("PK\x01\x02"); at != std::string::npos; at = damaged.find("PK\x01\x02", at + 4)) {
    const std::size_t nameBytes = ReadLe32(reinterpret_cast<const unsigned char*>(damaged.data()) + at + 28) & 0xFFFF;
    if (damaged.compare(at + 46, nameBytes, "big.bin") == 0) damaged[at + 16] = static_cast<char>(damaged[at + 16] ^ 0x5A);
  }
  // Names the rule refuses; "\x7f" stands for a NUL that the ZIP writer can't take.
  const std::vector<std::string> badNames = {
      "a\r\n[InstTasks]\r\nx = REGADDKEY\xB6HKLM\xB6\xB6\xB6SOFTWARE\\Victim\r\n/",
      "..\x7f", "..\x7f/", ".\x7f", "CON", "Docs/LPT1.txt", "a<b.txt", "../evil.txt"};
  // The solid variant: a byte changed in the packed data fails the block's check, one in the
  // archive's directory (at its end) leaves nothing to read.
  const std::string solid = ApplicationArchive(ConfigPackage("out_disk_solid"));
  ASSERT_GT(solid.size(), 1000u);
  std::string packed = solid, directory = solid;
  packed[solid.size() / 2] = static_cast<char>(packed[solid.size() / 2] ^ 0x5A);
  directory[solid.size() - 8] = static_cast<char>(directory[solid.size() - 8] ^ 0x5A);
  std::vector<std::pair<std::string, std::string>> archives = {
      {"damaged CRC", damaged}, {"damaged solid data", packed}, {"damaged solid directory", directory}};
  for (const std::string& name : badNames) {
    const std::string path = scratch.path + "bad.zip";
    ASSERT_TRUE(WriteZip(path, {{"good.txt", "fine"}, {name, name.back() == '/' ? "" : "x"}}));
    std::string archive = ReadWholeFile(path);
    for (std::size_t at = archive.find(name); at != std::string::npos; at = archive.find(name, at + 1)) {
      const std::size_t nul = name.find('\x7f');
      if (nul != std::string::npos) archive[at + nul] = '\0';
    }
    archives.push_back({name, archive});
  }
  for (const auto& bad : archives) {
    SCOPED_TRACE(bad.first);
    const std::string hostile = scratch.path + "Hostile.exe";
    ASSERT_TRUE(WriteFileText(hostile, WithApplicationArchive(package, bad.second)));
    const std::string log = scratch.path + "hostile.log";
    EXPECT_EQ(RunPackage(hostile, "/VERYSILENT /DIR=" + Quoted(destination) + " /LOG=" + Quoted(log)), 1603);
    ExpectNothingOf(destination);
    const char* logged = bad.first == "damaged solid directory" ? "the application archive can't be read"
                         : bad.first.rfind("damaged", 0) == 0  ? "damaged in the package"
                                                                : "refused entry name";
    EXPECT_NE(ReadWholeFile(log).find(logged), std::string::npos) << logged;
    RemoveInstallation(destination);
  }
  // A destination that holds the field separator would split every task line it stands in.
  EXPECT_EQ(RunPackage(package, "/VERYSILENT /DIR=" + Quoted(scratch.path + "Data\xB6New")), 87);
  EXPECT_FALSE(Exists(scratch.path + "Data\xB6New"));
}

// DELETEFOLDER on drive S:'s root in every spelling, S: being a scratch folder of the
// test's own (mapped in the prefix's dosdevices by the test's fixture): the installation
// goes through, and the drive keeps everything.
TEST(HostilePackages, DeleteFolderNeverTakesARoot) {
  ASSERT_TRUE(CreateDirectoryA("S:\\keep", nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) << "no drive S:";
  ASSERT_TRUE(WriteFileText("S:\\keep\\canary.txt", "still here"));
  ASSERT_TRUE(WriteFileText("S:\\root.txt", "still here"));
  const std::string destination = ShellFolder(0x26) + "Corvalis Roots\\";
  EXPECT_EQ(RunPackage(ConfigPackage("out_roots"), "/VERYSILENT"), 0);
  EXPECT_TRUE(Exists("S:\\keep\\canary.txt"));
  EXPECT_TRUE(Exists("S:\\root.txt"));
  EXPECT_EQ(RunProgram(ReadText(HKEY_LOCAL_MACHINE, Entry("Corvalis Roots"), "QuietUninstallString"), kStartMs), 0);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Entry("Corvalis Roots")));
  RemoveInstallation(destination, "Corvalis Roots");
  DeleteFolderTree("S:\\keep\\");
  DeleteFileA("S:\\root.txt");
}

// A name as the file system holds it, through the wide calls.
bool ExistsUtf8(const std::string& utf8) {
  std::vector<wchar_t> wide(utf8.size() + 1, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  return GetFileAttributesW(wide.data()) != INVALID_FILE_ATTRIBUTES;
}

// Names outside ASCII, from the builder (code page 437 where it can, else UTF-8 with the
// entry's flag) and from archives of Python's zipfile and of 7-Zip (UTF-8 throughout): each
// installs by its real names, "Łódź.txt" (no byte for "Ł" in code page 1252) through the
// wide calls and recorded by its short path, and uninstalls completely.
TEST(ForeignNames, ArchivesOfThreeWritersInstallByTheirNames) {
  const char* names[] = {"Caf\xC3\xA9.txt", "Se\xC3\xB1or\\a\xC3\xB1o.txt", "\xC5\x81\xC3\xB3" "d\xC5\xBA.txt", "plain.txt"};
  const char kNames[] = "Corvalis Names";
  for (const char* package : {"out_names", "out_names_zipfile", "out_names_7zip"}) {
    SCOPED_TRACE(package);
    if (!Exists(ConfigPackage(package))) {
      std::printf("SKIPPED %s: no 7-Zip on the build machine\n", package);
      continue;
    }
    const std::string destination = "C:\\" + UniqueName("CorvNames") + "\\";
    const std::string log = TempPath() + UniqueName("corv_names") + ".log";
    ASSERT_EQ(RunPackage(ConfigPackage(package), "/VERYSILENT /DIR=" + Quoted(destination) + " /LOG=" + Quoted(log)), 0);
    for (const char* name : names) EXPECT_TRUE(ExistsUtf8(AnsiToUtf8(destination) + name)) << name;
    EXPECT_FALSE(Exists(destination + "Caf+\xAC.txt")) << "read as OEM text";
    const std::string data = ReadWholeFile(destination + "Uninst0.dat");
    EXPECT_NE(data.find(destination + "Caf\xE9.txt"), std::string::npos) << "ANSI where the code page holds it";
    EXPECT_NE(data.find("~"), std::string::npos) << "the short path of the foreign name";
    EXPECT_NE(ReadWholeFile(log).find(names[2]), std::string::npos) << "the log names it in UTF-8";
    EXPECT_EQ(RunProgram(ReadText(HKEY_LOCAL_MACHINE, Entry(kNames), "QuietUninstallString"), kStartMs), 0);
    for (const char* name : names) EXPECT_FALSE(ExistsUtf8(AnsiToUtf8(destination) + name)) << name;
    EXPECT_FALSE(Exists(destination));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Entry(kNames)));
    RemoveInstallation(destination, kNames);
    DeleteFileA(log.c_str());
  }
}

// The lines deployment tools write, started as they start programs (CreateProcess, then
// the exit code): every one ends on its own, without a window nobody would answer.
TEST(DeploymentLines, BothProgramsTakeThem) {
  const std::string destination = "C:\\" + UniqueName("CorvDeploy") + "\\";
  const std::string logFolder = TempPath() + UniqueName("corv_logs") + "\\";
  const std::string package = ConfigPackage("out_disk");
  const std::string uninstaller = Quoted(destination + "Uninst0.exe");
  const struct {
    std::string install;
    int installed;
    std::string uninstall;  // run after the installation, when it succeeded
  } lines[] = {
      {"/qn /DIR=" + Quoted(destination), 0, uninstaller + " /VERYSILENT /SUPPRESSMSGBOXES /NORESTART"},
      {"/passive /norestart /DIR=" + Quoted(destination), 0, uninstaller + " /quiet /norestart"},
      {"/VERYSILENT /SP- /NOCANCEL /NOCLOSEAPPLICATIONS /LANG=de /DIR=" + Quoted(destination) + " /LOG=" +
           Quoted(logFolder + "x.log"),
       0, uninstaller + " /qn"},
      {"/VERYSILENT /bogus /DIR=" + Quoted(destination), 87, ""},
  };
  for (const auto& line : lines) {
    SCOPED_TRACE(line.install);
    WindowWatch watch;
    EXPECT_EQ(RunPackage(package, line.install), line.installed);
    watch.Stop();
    for (const std::string& title : watch.Titles()) {
      EXPECT_TRUE(line.install.rfind("/passive", 0) == 0 &&
                  (title == "Initializing..." || title.find(":: Setup") != std::string::npos))
          << title;
    }
    if (line.uninstall.empty()) {
      ExpectNothingOf(destination);
      continue;
    }
    EXPECT_TRUE(Exists(destination + "big.bin"));
    EXPECT_EQ(RunProgram(line.uninstall, kStartMs), 0);
    ExpectUninstalled(destination);
  }
  // A log into a folder that isn't there yet makes it; the language came by its ISO code.
  const std::string log = ReadWholeFile(logFolder + "x.log");
  EXPECT_NE(log.find("language: Deutsch"), std::string::npos) << log;
  DeleteFolderTree(logFolder);

  // The entry's plain uninstall line waits for the answer: No leaves the product installed.
  ASSERT_EQ(RunPackage(package, "/VERYSILENT /DIR=" + Quoted(destination)), 0);
  winrobot::ProcessGuard stage1;
  ASSERT_TRUE(winrobot::StartProcess(ReadText(HKEY_LOCAL_MACHINE, Entry(kApp), "UninstallString"), &stage1.process));
  HWND confirm = winrobot::WaitForMessageBox(0, "Please confirm", kStartMs);
  ASSERT_NE(confirm, nullptr) << winrobot::LastError();
  DWORD exitCode = 0;
  EXPECT_FALSE(winrobot::WaitProcess(stage1.process, 0, &exitCode)) << "stage 1 ended before the answer";
  ASSERT_TRUE(winrobot::AnswerMessageBox(confirm, "No"));
  ASSERT_TRUE(winrobot::WaitProcess(stage1.process, kStartMs, &exitCode));
  EXPECT_EQ(exitCode, 1602u);
  EXPECT_TRUE(Exists(destination + "big.bin"));
  EXPECT_EQ(RunProgram(ReadText(HKEY_LOCAL_MACHINE, Entry(kApp), "QuietUninstallString"), kStartMs), 0);
  ExpectUninstalled(destination);
  RemoveTempFiles("Corvalis Outcomes-*.log");
}

}  // namespace
