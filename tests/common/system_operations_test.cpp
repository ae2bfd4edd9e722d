// The system operations against Wine's real registry, shell links, processes and fonts.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/operations_settings.h"
#include "common/private_folder.h"
#include "common/special_folders.h"
#include "common/system_operations.h"
#include "tests/support/test_support.h"

namespace corvalis {
namespace {

using namespace corvalis::testing;

DWORD ReadNumber(HKEY root, const std::string& path, const char* name) {
  HKEY key = nullptr;
  DWORD value = 0xDEADBEEF, size = sizeof value, type = 0;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
  RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return type == REG_DWORD ? value : 0xDEADBEEF;
}

TEST(FoldersTest, ShellAndTemporaryFolders) {
  const std::string desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
  ASSERT_GT(desktop.size(), 3u);
  EXPECT_EQ(desktop.substr(1, 2), ":\\");
  EXPECT_EQ(desktop.back(), '\\');
  EXPECT_EQ(SpecialFolder(0x7F), "");
  const std::string temp = TempFolder();
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_TRUE(Exists(temp));
}

class RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    RemoveTree(HKEY_CURRENT_USER, base);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\CorvalisEngineTests");  // only when empty
  }
  const std::string base = "Software\\CorvalisEngineTests\\" + UniqueName("reg");
};

TEST_F(RegistryTest, SetOpensButNeverCreatesWriteCreates) {
  EXPECT_EQ(SetRegistryValue(HKEY_CURRENT_USER, base, "Name", "x", 1, ""), 0);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base));

  EXPECT_EQ(WriteRegistryValue(HKEY_CURRENT_USER, base + "\\Deep", "Name", "hello world", 1, ""), 1);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, base + "\\Deep", "Name"), "hello world");
  EXPECT_EQ(SetRegistryValue(HKEY_CURRENT_USER, base + "\\Deep", "", "default text", 1, ""), 1);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, base + "\\Deep", ""), "default text");

  // Numbers use the script's syntax; an unknown type writes nothing but still succeeds.
  const struct { const char* text; DWORD value; } numbers[] = {
      {"42", 42}, {"$ff", 255}, {"%101", 5}, {" \t-2", 0xFFFFFFFE}, {"12abc", 12}, {"x", 0},
      {"4294967297", 1}};
  for (const auto& n : numbers) {
    EXPECT_EQ(SetRegistryValue(HKEY_CURRENT_USER, base + "\\Deep", "N", n.text, 4, ""), 1);
    EXPECT_EQ(ReadNumber(HKEY_CURRENT_USER, base + "\\Deep", "N"), n.value) << n.text;
  }
  EXPECT_EQ(SetRegistryValue(HKEY_CURRENT_USER, base + "\\Deep", "Other", "1", 7, ""), 1);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, base + "\\Deep", "Other"), "<missing>");

  EXPECT_EQ(WriteRegistryValue(nullptr, base, "Name", "x", 1, ""), 0);
  EXPECT_EQ(CreateRegistryKey(nullptr, base, ""), 0);
}

TEST_F(RegistryTest, LeadingBackslashAddressesTheSameKey) {
  EXPECT_EQ(WriteRegistryValue(HKEY_CURRENT_USER, "\\" + base + "\\K", "V", "one", 1, ""), 1);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, base + "\\K", "V"), "one");
  EXPECT_EQ(RegistrySubkeyName(HKEY_CURRENT_USER, "\\" + base, 0, ""), "K");
  EXPECT_EQ(DeleteRegistryValue(HKEY_CURRENT_USER, "\\" + base + "\\K", "V", ""), 1);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, base + "\\K", "V"), "<missing>");
  EXPECT_EQ(DeleteRegistryValue(HKEY_CURRENT_USER, base + "\\K", "V", ""), 0);
  EXPECT_EQ(DeleteRegistryKey(HKEY_CURRENT_USER, "\\" + base + "\\K", ""), 1);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\K"));
}

TEST_F(RegistryTest, KeysSubkeysAndTrees) {
  for (const char* sub : {"\\A\\A1\\A11", "\\A\\A2", "\\B", "\\C\\C1"}) {
    ASSERT_EQ(CreateRegistryKey(HKEY_CURRENT_USER, base + sub, ""), 1);
  }
  EXPECT_EQ(RegistrySubkeyName(HKEY_CURRENT_USER, base, 0, ""), "A");
  EXPECT_EQ(RegistrySubkeyName(HKEY_CURRENT_USER, base, 2, ""), "C");
  EXPECT_EQ(RegistrySubkeyName(HKEY_CURRENT_USER, base, 3, ""), "");
  EXPECT_EQ(RegistrySubkeyName(HKEY_CURRENT_USER, base + "\\Missing", 0, ""), "");

  // A single-key delete leaves a key that has subkeys.
  EXPECT_EQ(DeleteRegistryKey(HKEY_CURRENT_USER, base + "\\A", ""), 0);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base + "\\A\\A1\\A11"));

  // Empty names must not widen into the parent.
  EXPECT_EQ(DeleteRegistryTree(HKEY_CURRENT_USER, base + "\\", ""), 0);
  EXPECT_EQ(DeleteRegistryTree(HKEY_CURRENT_USER, "\\", ""), 0);
  EXPECT_EQ(DeleteRegistryKey(HKEY_CURRENT_USER, "", ""), 0);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base + "\\B"));

  EXPECT_EQ(DeleteRegistryTree(HKEY_CURRENT_USER, base + "\\A", ""), 1);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base + "\\A"));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, base + "\\C\\C1"));
  EXPECT_EQ(DeleteRegistryTree(HKEY_CURRENT_USER, "\\" + base, ""), 1);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, base));
  EXPECT_EQ(DeleteRegistryTree(HKEY_CURRENT_USER, base, ""), 0);
}

// Another machine's root, played by a key of the current user: what reaches it can only
// have gone through the connection.
const char kFarRoot[] = "Software\\CorvalisEngineTests\\FarMachine";
std::vector<std::string> connectedTo;

LONG WINAPI ConnectToFarRoot(LPCSTR computer, HKEY root, PHKEY result) {
  connectedTo.push_back(std::string(computer) + (root == HKEY_LOCAL_MACHINE ? "|HKLM" : "|other"));
  if (std::string(computer) != "\\\\far-machine") return ERROR_BAD_NETPATH;
  return RegCreateKeyExA(HKEY_CURRENT_USER, kFarRoot, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, result, nullptr);
}

TEST_F(RegistryTest, ComputerArgumentReachesThatMachine) {
  OperationsSettings farMachine;
  farMachine.ConnectRegistry = ConnectToFarRoot;
  ScopedOperationsSettings remote(farMachine);
  connectedTo.clear();
  const std::string machineKey = UniqueName("remote");
  const std::string farKey = std::string(kFarRoot) + "\\" + machineKey;
  EXPECT_EQ(WriteRegistryValue(HKEY_LOCAL_MACHINE, machineKey + "\\S\\T", "V", "far", 1, "\\\\far-machine"), 1);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, farKey + "\\S\\T", "V"), "far");
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, machineKey)) << "written on this machine";
  EXPECT_EQ(DeleteRegistryTree(HKEY_LOCAL_MACHINE, machineKey, "\\\\far-machine"), 1);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, farKey));
  EXPECT_EQ(CreateRegistryKey(HKEY_LOCAL_MACHINE, machineKey, "\\\\corvalis-no-such-host"), 0);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, machineKey));
  EXPECT_EQ(connectedTo.front(), "\\\\far-machine|HKLM");
  EXPECT_EQ(connectedTo.back(), "\\\\corvalis-no-such-host|HKLM");
  // A local call never connects.
  const size_t connections = connectedTo.size();
  EXPECT_EQ(CreateRegistryKey(HKEY_CURRENT_USER, std::string(kFarRoot) + "\\Local", ""), 1);
  EXPECT_EQ(connectedTo.size(), connections);
  RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kFarRoot) + "\\Local").c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, kFarRoot);
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\CorvalisEngineTests");
}

TEST(AssociationTest, NtLayoutWrittenAndRemoved) {
  ASSERT_TRUE(VersionBuildBitsSet()) << "the test prefix reports an NT version";
  const std::string ext = UniqueName("cv");
  const std::string app = ext + "app.exe";
  const std::string program = "C:\\Program Files\\Corvalis Test\\" + app;
  const std::string fileExts =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\." + ext;

  // Without a description only the application's command and the FileExts value.
  EXPECT_EQ(AssociateExtension(ext, "", program, program + ",0"), 1);
  EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, "Applications\\" + app + "\\shell\\open\\command", ""),
            "\"C:\\Program Files\\Corvalis Test\\" + app + "\" \"%1\"");
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, fileExts, "Application"), app);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "." + ext));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ext + "_auto_file"));

  EXPECT_EQ(AssociateExtension(ext, "Corvalis document", program, program + ",3"), 1);
  EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, "." + ext, ""), ext + "_auto_file");
  EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, ext + "_auto_file", ""), "Corvalis document");
  EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, ext + "_auto_file\\DefaultIcon", ""), program + ",3");
  EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, ext + "_auto_file\\shell\\open\\command", ""),
            "\"C:\\Program Files\\Corvalis Test\\" + app + "\" \"%1\"") << "the file type opens";

  EXPECT_EQ(DisassociateExtension(ext, ""), 0);
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "Applications\\" + app));
  EXPECT_EQ(DisassociateExtension(ext, app), 1);
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Applications\\" + app));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "." + ext));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ext + "_auto_file"));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, fileExts));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "Applications"));
}

class FilesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)); }
  void TearDown() override {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileA((folder + found.cFileName).c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
  }
  void WriteFileText(const std::string& path, const std::string& text) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
  }
  const std::string folder = TempPath() + UniqueName("corv files ") + "\\";
};

TEST_F(FilesTest, ShellLinksReadBack) {
  const std::string target = folder + "target app.exe";
  WriteFileText(target, "MZ");

  ASSERT_EQ(CreateShellLink(target, folder + "Upper.LNK", "-x \"a b\"", "A description",
                            "", 3, 0x0641, "", 2),
            1);
  EXPECT_TRUE(Exists(folder + "Upper.LNK"));
  EXPECT_FALSE(Exists(folder + "Upper.LNK.lnk"));
  LinkFields fields;
  ASSERT_TRUE(ReadLink(folder + "Upper.LNK", fields));
  EXPECT_EQ(fields.path, target);
  EXPECT_EQ(fields.arguments, "-x \"a b\"");
  EXPECT_EQ(fields.workingFolder, folder);
  EXPECT_EQ(fields.description, "A description");
  EXPECT_EQ(fields.iconFile, target);
  EXPECT_EQ(fields.iconIndex, 2);
  // Wine's link object reads every show command back as 1; the saved header holds it.
  const std::string raw = ReadWholeFile(folder + "Upper.LNK");
  ASSERT_GT(raw.size(), 64u);
  EXPECT_EQ(raw[60], 3);
  EXPECT_EQ(fields.hotKey, 0x0641);

  ASSERT_EQ(CreateShellLink(target, folder + "Plain", "", "", "C:\\work", 1, 0,
                            "C:\\icons.dll", 0),
            1);
  LinkFields plain;
  ASSERT_TRUE(ReadLink(folder + "Plain.lnk", plain));
  EXPECT_EQ(plain.workingFolder, "C:\\work");
  EXPECT_EQ(plain.iconFile, "C:\\icons.dll");
  EXPECT_EQ(plain.showCommand, 1);

  // A link that can't be saved is not reported as made.
  EXPECT_EQ(CreateShellLink(target, folder + "missing\\x.lnk", "", "", "", 1, 0, "", 0), 0);
}

TEST_F(FilesTest, InternetShortcutContent) {
  const std::string path = folder + "Site.url";
  WriteFileText(path, "old content that is longer than the new one ............................");
  ASSERT_EQ(CreateInternetShortcut("http://127.0.0.1/a?b=c", path), 1);
  EXPECT_EQ(ReadWholeFile(path), "[InternetShortcut]\r\nURL=http://127.0.0.1/a?b=c\r\n");
  EXPECT_EQ(CreateInternetShortcut("http://x", folder + "missing\\Site.url"), 0);
}

TEST_F(FilesTest, KillProcessesByNameEndsEveryMatch) {
  const std::string stem = UniqueName("CorvSleep");
  const std::string exe = folder + stem + ".exe";
  // A name with a character outside ASCII (e acute in the ANSI code page).
  const std::string accented = UniqueName("CorvSl\xE9" "ep") + ".exe";
  ASSERT_TRUE(CopyFileA((HelperPath("sleeper.exe")).c_str(), exe.c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(exe.c_str(), (folder + accented).c_str(), FALSE));

  std::vector<PROCESS_INFORMATION> started;
  for (const std::string& program : {exe, exe, folder + accented}) {
    std::string line = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    // Without a console: Wine gives a console child a console host that can outlive the
    // killed child and keep the test's output open, so ctest would wait for it.
    ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, DETACHED_PROCESS,
                               nullptr, nullptr, &startup, &process));
    started.push_back(process);
  }
  // Let the processes show up in a snapshot.
  Sleep(500);

  EXPECT_EQ(KillProcessesByName("cOrVsLeEp-not-running.exe"), 0);
  const std::string mixed = "cORVsLEEP" + stem.substr(9) + ".ExE ";
  EXPECT_EQ(KillProcessesByName(mixed), 1);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(WaitForSingleObject(started[i].hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(started[i].hProcess, &code);
    EXPECT_EQ(code, 1u);
  }
  EXPECT_EQ(WaitForSingleObject(started[2].hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));

  // Upper-case E acute (0xC9) matches the lower-case one in the running name.
  std::string upper = accented;
  upper[6] = '\xC9';
  EXPECT_EQ(KillProcessesByName("  " + upper), 1);
  EXPECT_EQ(WaitForSingleObject(started[2].hProcess, 10000), WAIT_OBJECT_0);

  for (PROCESS_INFORMATION& process : started) {
    TerminateProcess(process.hProcess, 0);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  EXPECT_EQ(TerminateProcessById(0xFFFFFFF0), 0);
}

TEST_F(FilesTest, FontsInstallAndRejectNonFonts) {
  const char* dejavu = "Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";
  if (!Exists(dejavu)) GTEST_SKIP() << "fonts-dejavu-core is not installed";
  char windows[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableA("windir", windows, MAX_PATH), 0u);
  const std::string fonts = std::string(windows) + "\\Fonts\\";
  const std::string fontsKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

  const std::string fileName = UniqueName("CorvFont") + ".ttf";
  const std::string fontName = "Corvalis Test " + fileName + " (TrueType)";
  ASSERT_TRUE(CopyFileA(dejavu, (folder + fileName).c_str(), FALSE));
  EXPECT_EQ(InstallFont(fontName, folder + fileName), 1);
  EXPECT_TRUE(Exists(fonts + fileName));
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, fontsKey, fontName), fileName);

  const std::string notFont = UniqueName("CorvNotFont") + ".ttf";
  WriteFileText(folder + notFont, "this is plain text, not a font\r\n");
  EXPECT_EQ(InstallFont("Corvalis Not A Font", folder + notFont), 0);
  EXPECT_FALSE(Exists(fonts + notFont));
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, fontsKey, "Corvalis Not A Font"), "<missing>");

  RemoveFontResourceA((folder + fileName).c_str());
  DeleteFileA((fonts + fileName).c_str());
  DeleteRegistryValue(HKEY_LOCAL_MACHINE, fontsKey, fontName, "");
}

std::vector<UINT> exitCalls;
BOOL exitResult = TRUE;
BOOL WINAPI FakeExitWindows(UINT flags, DWORD reason) {
  exitCalls.push_back(flags);
  EXPECT_EQ(reason, 0u);
  return exitResult;
}

bool ShutdownPrivilegeEnabled() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  LUID shutdown = {};
  LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &shutdown);
  std::vector<BYTE> buffer(4096);
  DWORD size = 0;
  bool enabled = false;
  if (GetTokenInformation(token, TokenPrivileges, buffer.data(), static_cast<DWORD>(buffer.size()), &size)) {
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
      const LUID_AND_ATTRIBUTES& p = privileges->Privileges[i];
      if (p.Luid.LowPart == shutdown.LowPart && p.Luid.HighPart == shutdown.HighPart) {
        enabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
      }
    }
  }
  CloseHandle(token);
  return enabled;
}

void DisableShutdownPrivilege() {
  HANDLE token = nullptr;
  ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &token));
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  privileges.Privileges[0].Attributes = 0;
  AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  CloseHandle(token);
}

TEST(RestartTest, PrivilegeThenExitWindowsWithFlags) {
  OperationsSettings fake;
  fake.ExitWindows = FakeExitWindows;
  ScopedOperationsSettings recorded(fake);
  DisableShutdownPrivilege();
  ASSERT_FALSE(ShutdownPrivilegeEnabled());

  exitCalls.clear();
  exitResult = TRUE;
  EXPECT_EQ(RestartComputer(0), 0);
  EXPECT_TRUE(ShutdownPrivilegeEnabled());
  EXPECT_EQ(RestartComputer(1), 0);
  EXPECT_EQ(ShutdownWindows(EWX_LOGOFF), 0);
  EXPECT_EQ(exitCalls, (std::vector<UINT>{2, 6, 0}));

  exitResult = FALSE;
  EXPECT_EQ(ShutdownWindows(EWX_REBOOT), 4);
  EXPECT_EQ(RestartComputer(1), 0);
}

// The descriptor as the system builds it from its text, and a folder made with it only new.
TEST(PrivateFolderTest, DescriptorAndCreation) {
  void* descriptor = BuildPrivateFolderDescriptor();
  const SecurityFields built = DescribeSecurity(descriptor);
  LocalFree(descriptor);
  ASSERT_TRUE(built.ok);
  EXPECT_EQ(built.owner, "S-1-5-32-544");
  EXPECT_TRUE(built.protectedDacl);
  // Object and container inherit; all file access.
  EXPECT_EQ(built.aces, (std::vector<std::string>{"S-1-5-32-544 03 001f01ff", "S-1-5-18 03 001f01ff"}));

  const std::string folder = TempPath() + UniqueName("private");
  ASSERT_TRUE(CreatePrivateFolder(folder));
  EXPECT_TRUE(IsFolder(folder));
  EXPECT_FALSE(CreatePrivateFolder(folder)) << "an existing folder is never taken over";
  RemoveDirectoryA(folder.c_str());
  WriteFileText(folder, "a file in the way");
  EXPECT_FALSE(CreatePrivateFolder(folder + "\\"));
  DeleteFileA(folder.c_str());
}

}  // namespace
}  // namespace corvalis
