// Installer.exe end to end: packages built by mkinstaller at build time, driven through
// their windows with the robot.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

#include "installer/package/certificate_table.h"
#include "installer/package/package_layout.h"
#include "tests/support/installer_run.h"
#include "tests/support/test_support.h"
#include "tools/winrobot/winrobot.h"

using namespace corvalis::testing;
using installer_e2e::WorkFolders;

namespace {

constexpr int kWaitMs = 30000;

std::string TestData(const std::string& name) {
  const char* root = std::getenv("CORVALIS_TEST_DATA");
  return winrobot::UnixToWindowsPath(std::string(root ? root : "") + "/package/" + name);
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A copy of a built package in the test's own folder, changed by edit.
std::string CopyPackage(const ScratchFolder& scratch, const std::string& package, const std::string& name,
                        void (*edit)(std::string*) = nullptr) {
  std::string bytes = ReadBytes(TestData(package));
  EXPECT_GT(bytes.size(), std::size_t(1000)) << "missing test package " << TestData(package);
  if (edit) edit(&bytes);
  std::string path = scratch.path + name;
  EXPECT_TRUE(WriteFileText(path, bytes));
  return path;
}

// The application archive inside a package, by its trailer.
std::string ApplicationArchive(const std::string& package) {
  std::string bytes = ReadBytes(package);
  if (bytes.size() < std::size_t(corvalis::kTrailerBytes)) return std::string();
  const unsigned char* trailer = reinterpret_cast<const unsigned char*>(bytes.data()) + bytes.size() - 11;
  std::size_t info = corvalis::ReadLe32(trailer), program = corvalis::ReadLe32(trailer + 4);
  if (info + program + 11 > bytes.size()) return std::string();
  return bytes.substr(bytes.size() - 11 - info - program, program);
}

// Runs the program, expects one message box with this title and text, answers it and
// expects the program to end with that exit code.
void ExpectOnlyMessage(const std::string& commandLine, const std::string& title, const std::string& text,
                       DWORD expectedCode) {
  SCOPED_TRACE(commandLine);
  winrobot::ProcessGuard run;
  ASSERT_TRUE(winrobot::StartProcess(commandLine, &run.process)) << winrobot::LastError();
  HWND box = winrobot::WaitForMessageBox(run.process.pid, title, kWaitMs);
  ASSERT_NE(box, nullptr) << winrobot::LastError();
  EXPECT_EQ(winrobot::MessageBoxText(box), text);
  ASSERT_TRUE(winrobot::AnswerMessageBox(box, "OK")) << winrobot::LastError();
  DWORD exitCode = 1;
  ASSERT_TRUE(winrobot::WaitProcess(run.process, kWaitMs, &exitCode));
  EXPECT_EQ(exitCode, expectedCode);
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// Folders in the temporary folder whose names are all digits: work folders.

const char kIncomplete[] =
    "This installer is incomplete! If you downloaded it from the Internet try to transfer it again.";
const char kCorrupted[] = "This installer is corrupted. Please obtain another copy of it.";

// The copy runs right after its window appears and only looks at events between 5 MiB
// chunks, so a Cancel click has to be queued at once: poll without pause.
HWND WaitForCancellableWindow(DWORD pid, const char* title) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < DWORD(kWaitMs);) {
    HWND window = FindWindowA(nullptr, title);
    DWORD owner = 0;
    if (window) GetWindowThreadProcessId(window, &owner);
    if (window && owner == pid && IsWindowVisible(window) &&
        FindWindowExA(window, nullptr, "Button", "Cancel")) {
      return window;
    }
    Sleep(0);
  }
  return nullptr;
}

class StringReader : public corvalis::ByteReader {
 public:
  explicit StringReader(const std::string& bytes) : bytes_(bytes) {}
  bool ReadAt(std::int64_t offset, unsigned char* out, std::size_t count) override {
    if (offset < 0 || std::uint64_t(offset) + count > bytes_.size()) return false;
    bytes_.copy(reinterpret_cast<char*>(out), count, std::size_t(offset));
    return true;
  }

 private:
  const std::string& bytes_;
};

}  // namespace

// Signed after mkinstaller, as vendors ship it: the package starts, offers its languages
// and exports its application archive. A security directory that doesn't end the file
// leaves it unsigned, and so incomplete.
TEST(InstallerPackage, SignedPackageStartsAndExports) {
  ScratchFolder scratch("signed");
  const std::string setup = CopyPackage(scratch, "SignedSetup.exe", "SignedSetup.exe");
  const std::string bytes = ReadBytes(setup);
  StringReader reader(bytes);
  corvalis::CertificateTable table;
  ASSERT_TRUE(corvalis::ReadCertificateTable(reader, std::int64_t(bytes.size()), &table));
  ASSERT_EQ(table.offset + table.bytes, std::int64_t(bytes.size())) << "the signature doesn't end the file";

  {
    winrobot::ProcessGuard run;
    ASSERT_TRUE(winrobot::StartProcess(Quoted(setup), &run.process)) << winrobot::LastError();
    HWND dialog = winrobot::WaitForWindowOfProcess(run.process.pid, "Language selection", kWaitMs);
    ASSERT_NE(dialog, nullptr) << winrobot::LastError();
    ASSERT_TRUE(winrobot::ClickButton(dialog, "Cancel")) << winrobot::LastError();
    HWND confirm = winrobot::WaitForMessageBox(run.process.pid, "Please confirm", kWaitMs);
    ASSERT_NE(confirm, nullptr) << winrobot::LastError();
    ASSERT_TRUE(winrobot::AnswerMessageBox(confirm, "Yes"));
    DWORD exitCode = 1;
    ASSERT_TRUE(winrobot::WaitProcess(run.process, kWaitMs, &exitCode));
    EXPECT_EQ(exitCode, 1602u);
  }

  ExpectOnlyMessage(Quoted(setup) + " -u " + Quoted(scratch.path + "export"), "Success",
                    "The file was written. You can unpack them with any ZIP compatible archiver.", 0);
  const std::string archive = ApplicationArchive(CopyPackage(scratch, "Setup.exe", "Unsigned.exe"));
  ASSERT_FALSE(archive.empty());
  EXPECT_TRUE(ReadBytes(scratch.path + "export\\ProgramData.zip") == archive);

  auto withDirectory = [&](const std::string& name, std::int64_t offset, std::int64_t size) {
    std::string changed = bytes;
    unsigned char* entry = reinterpret_cast<unsigned char*>(&changed[std::size_t(table.directoryOffset)]);
    corvalis::WriteLe32(entry, static_cast<std::uint32_t>(offset));
    corvalis::WriteLe32(entry + 4, static_cast<std::uint32_t>(size));
    EXPECT_TRUE(WriteFileText(scratch.path + name, changed));
    return Quoted(scratch.path + name);
  };
  ExpectOnlyMessage(withDirectory("Elsewhere.exe", table.offset - 8, table.bytes), "Error", kIncomplete, 1603);
  ExpectOnlyMessage(withDirectory("PastTheEnd.exe", table.offset, table.bytes + 8), "Error", kIncomplete, 1603);
}

TEST(InstallerPackage, BrokenTrailersGiveTheirMessages) {
  ScratchFolder scratch("trailer");
  std::set<std::string> before = WorkFolders();
  std::string noMarker = CopyPackage(scratch, "Setup.exe", "NoMarker.exe", [](std::string* b) { b->resize(b->size() - 3); });
  std::string lineBreak = CopyPackage(scratch, "Setup.exe", "LineBreak.exe", [](std::string* b) { *b += "\r\n"; });
  std::string zeroLengths =
      CopyPackage(scratch, "Setup.exe", "ZeroLengths.exe", [](std::string* b) { b->replace(b->size() - 11, 8, 8, '\0'); });
  std::string zeroProgram =
      CopyPackage(scratch, "Setup.exe", "ZeroProgram.exe", [](std::string* b) { b->replace(b->size() - 7, 4, 4, '\0'); });

  ExpectOnlyMessage(Quoted(noMarker), "Error", kIncomplete, 1603);
  ExpectOnlyMessage(Quoted(lineBreak), "Error", kIncomplete, 1603);
  ExpectOnlyMessage(Quoted(zeroLengths), "Error", kCorrupted, 1603);
  ExpectOnlyMessage(Quoted(zeroProgram), "Error", kCorrupted, 1603);
  // The same checks guard the export.
  ExpectOnlyMessage(Quoted(lineBreak) + " -u " + Quoted(scratch.path + "export"), "Error", kIncomplete, 1603);
  EXPECT_FALSE(Exists(scratch.path + "export\\ProgramData.zip"));
  // Failures before the work folder exists leave nothing behind.
  EXPECT_EQ(WorkFolders(), before);
}

TEST(InstallerPackage, UsageMessageForTwoParametersWithoutMinusU) {
  ScratchFolder scratch("usage");
  std::string setup = CopyPackage(scratch, "Setup.exe", "Setup.exe");
  const std::string usage =
      "If you want to unpack the contained files to check them before installation, the syntax is:\r\n"
      "Installer.exe -u [PathToStoreUnpackedFiles]";
  ExpectOnlyMessage(Quoted(setup) + " /x y", "Error", usage, 87);
  ExpectOnlyMessage(Quoted(setup) + " -U y", "Error", usage, 87);
}

TEST(InstallerPackage, ExportWritesTheApplicationArchiveUnchanged) {
  ScratchFolder scratch("export");
  std::string setup = CopyPackage(scratch, "Setup.exe", "Setup.exe");
  const std::string folder = scratch.path + "checked\\nested";  // missing, without "\"
  const std::string done = "The file was written. You can unpack them with any ZIP compatible archiver.";
  ExpectOnlyMessage(Quoted(setup) + " -u " + Quoted(folder), "Success", done, 0);

  std::string exported = ReadBytes(folder + "\\ProgramData.zip");
  std::string archive = ApplicationArchive(setup);
  ASSERT_FALSE(archive.empty());
  EXPECT_EQ(exported.size(), archive.size());
  EXPECT_TRUE(exported == archive);
  EXPECT_EQ(exported.compare(0, 2, "PK"), 0);
  // A solid package's archive is a 7z archive, and is named so.
  const std::string solid = CopyPackage(scratch, "SolidSetup.exe", "SolidSetup.exe");
  ExpectOnlyMessage(Quoted(solid) + " -u " + Quoted(folder), "Success", done, 0);
  EXPECT_TRUE(ReadBytes(folder + "\\ProgramData.7z") == ApplicationArchive(solid));
  EXPECT_EQ(ReadBytes(folder + "\\ProgramData.7z").compare(0, 2, "7z"), 0);

  // A blank folder writes nothing and still reports success.
  ExpectOnlyMessage(Quoted(setup) + " -u \"  \"", "Success", done, 0);
}

TEST(InstallerPackage, SecondInstanceGetsTheMutexWarningAndTheFirstGoesOn) {
  ScratchFolder scratch("mutex");
  std::string setup = CopyPackage(scratch, "Setup.exe", "Setup.exe");
  winrobot::ProcessGuard first;
  ASSERT_TRUE(winrobot::StartProcess(Quoted(setup) + " /x y", &first.process));
  HWND firstBox = winrobot::WaitForMessageBox(first.process.pid, "Error", kWaitMs);
  ASSERT_NE(firstBox, nullptr) << winrobot::LastError();

  ExpectOnlyMessage(Quoted(setup),
                    "Corvalis Install Platform",
                    "Another installation driven by TQS is in progress. Please finish the active installation and "
                    "run this installer again.",
                    1618);

  EXPECT_TRUE(IsWindowVisible(firstBox));
  DWORD exitCode = 1;
  EXPECT_FALSE(winrobot::WaitProcess(first.process, 0, &exitCode));  // still running
  ASSERT_TRUE(winrobot::AnswerMessageBox(firstBox, "OK"));
  ASSERT_TRUE(winrobot::WaitProcess(first.process, kWaitMs, &exitCode));
  EXPECT_EQ(exitCode, 87u);
}

TEST(InstallerPackage, CancelWhileCopyingRemovesTheWorkFolder) {
  ScratchFolder scratch("cancel");
  std::string setup = CopyPackage(scratch, "BigSetup.exe", "BigSetup.exe");
  std::set<std::string> before = WorkFolders();
  winrobot::ProcessGuard run;
  ASSERT_TRUE(winrobot::StartProcess(Quoted(setup), &run.process));

  HWND window = WaitForCancellableWindow(run.process.pid, "Initializing...");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(winrobot::ClickButton(window, "Cancel")) << winrobot::LastError();

  HWND confirm = winrobot::WaitForMessageBox(run.process.pid, "Please confirm", kWaitMs);
  ASSERT_NE(confirm, nullptr) << winrobot::LastError();
  EXPECT_EQ(winrobot::MessageBoxText(confirm),
            "Are you sure you want to stop the installation now? Press 'No' to continue or 'Yes' to end this "
            "program. You can run this installer at a later time and continue the installation procedure.");
  std::set<std::string> during = WorkFolders();
  std::vector<std::string> created;
  for (const std::string& folder : during)
    if (!before.count(folder)) created.push_back(folder);
  EXPECT_FALSE(created.empty()) << "no work folder while copying";

  ASSERT_TRUE(winrobot::AnswerMessageBox(confirm, "Yes"));
  DWORD exitCode = 1;
  ASSERT_TRUE(winrobot::WaitProcess(run.process, kWaitMs, &exitCode));
  EXPECT_EQ(exitCode, 1602u);
  for (const std::string& folder : created) EXPECT_FALSE(Exists(folder)) << folder;
}

TEST(InstallerPackage, CancelDuringExportEndsWithoutSuccess) {
  ScratchFolder scratch("exportcancel");
  std::string setup = CopyPackage(scratch, "BigSetup.exe", "BigSetup.exe");
  winrobot::ProcessGuard run;
  ASSERT_TRUE(winrobot::StartProcess(Quoted(setup) + " -u " + Quoted(scratch.path + "out"), &run.process));
  HWND window = WaitForCancellableWindow(run.process.pid, "Unpacking data contained for external check...");
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(winrobot::ClickButton(window, "Cancel")) << winrobot::LastError();
  HWND confirm = winrobot::WaitForMessageBox(run.process.pid, "Please confirm", kWaitMs);
  ASSERT_NE(confirm, nullptr) << winrobot::LastError();
  ASSERT_TRUE(winrobot::AnswerMessageBox(confirm, "Yes"));
  DWORD exitCode = 1;
  ASSERT_TRUE(winrobot::WaitProcess(run.process, kWaitMs, &exitCode));  // no "Success" box waits
  EXPECT_EQ(exitCode, 1602u);
}

TEST(InstallerPackage, OldWindowsGetsTheCompatibilityMessage) {
  ScratchFolder scratch("version");
  std::string old = CopyPackage(scratch, "Setup.exe", "PkgOldWindows.exe");
  std::string nine8 = CopyPackage(scratch, "Setup.exe", "PkgWindows98.exe");
  ASSERT_TRUE(winrobot::SetWineVersion("PkgOldWindows.exe", "win95"));
  ASSERT_TRUE(winrobot::SetWineVersion("PkgWindows98.exe", "win98"));
  ExpectOnlyMessage(Quoted(old), "Compatibility problem",
                    "We are sorry, Corvalis Packwright was designed for WinNT and later operating systems. Please "
                    "upgrade your PC!",
                    1603);
  // Windows 98 passes without the administrator test and reaches the command line.
  ExpectOnlyMessage(Quoted(nine8) + " /x y", "Error",
                    "If you want to unpack the contained files to check them before installation, the syntax is:\r\n"
                    "Installer.exe -u [PathToStoreUnpackedFiles]",
                    87);
  winrobot::SetWineVersion("PkgOldWindows.exe", "");
  winrobot::SetWineVersion("PkgWindows98.exe", "");
}
