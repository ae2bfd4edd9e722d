// Path variables and the version-dependent operations as Windows NT 4, 98 and 7 see
// them. Wine reads the version to report per program name when the program starts, so
// each case runs the probe helper under a name of its own with that name's version set.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tests/support/test_support.h"

namespace corvalis {
namespace {

using namespace corvalis::testing;

const char kAppDefaults[] = "Software\\Wine\\AppDefaults\\";
const char kNtPureBasic[] = "Applications\\PureBasic.exe";
const char kOldPureBasic[] = "Software\\Classes\\PureBasic.exe";

class Probe {
 public:
  explicit Probe(const std::string& version)
      : name_(UniqueName("corvprobe_" + version + "_") + ".exe"), path_(TempPath() + name_),
        out_(TempPath() + name_ + ".txt") {
    CopyFileA((HelperPath("probe.exe")).c_str(), path_.c_str(), FALSE);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, (kAppDefaults + name_).c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS) {
      RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                     static_cast<DWORD>(version.size() + 1));
      RegCloseKey(key);
    }
  }
  ~Probe() {
    RegDeleteKeyA(HKEY_CURRENT_USER, (kAppDefaults + name_).c_str());
    DeleteFileA(out_.c_str());
    for (int i = 0; i < 20 && !DeleteFileA(path_.c_str()) && Exists(path_); ++i) Sleep(100);
  }
  Probe(const Probe&) = delete;
  Probe& operator=(const Probe&) = delete;

  // Runs "probe <command> <out> <arguments>" and returns what it wrote.
  std::map<std::string, std::string> Run(const std::string& command, const std::string& arguments) {
    DeleteFileA(out_.c_str());
    const int code = RunProgram("\"" + path_ + "\" " + command + " \"" + out_ + "\" " + arguments, 60000);
    EXPECT_EQ(code, 0) << command << " " << arguments;
    return ParseLines(ReadWholeFile(out_));
  }

 private:
  std::string name_, path_, out_;
};

std::string ShellFolder(int csidl) {
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, 0, path))) return std::string();
  std::string text = path;
  if (!text.empty() && text.back() != '\\') text += '\\';
  return text;
}

std::string LongTempFolder() {
  char path[MAX_PATH] = {};
  GetLongPathNameA(TempPath().c_str(), path, MAX_PATH);
  return path;
}

void SetDefault(HKEY root, const std::string& path, const std::string& value) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
}

// What each of the 18 variables must give for a version code, from the folders Wine
// reports to this program.
std::map<int, std::string> ExpectedFolders(int code) {
  const bool nineX = code == 30 || code == 40;
  const std::string root = ShellFolder(CSIDL_DESKTOPDIRECTORY).substr(0, 3);
  const std::string quickLaunch = "Microsoft\\Internet Explorer\\Quick Launch\\";
  std::map<int, std::string> folders;
  folders[0] = code < 50 ? root + "Program Files\\" : ShellFolder(CSIDL_PROGRAM_FILES);
  folders[1] = code < 50 ? root : ShellFolder(CSIDL_WINDOWS).substr(0, 3);
  folders[2] = "C:\\Corvalis Install\\";
  folders[3] = code == 20 ? root + "WINNT\\" : nineX ? root + "WINDOWS\\" : ShellFolder(CSIDL_WINDOWS);
  folders[4] = code == 20  ? root + "WINNT\\System32\\"
               : nineX     ? root + "WINDOWS\\System32\\"
                           : ShellFolder(CSIDL_SYSTEM);
  folders[5] = nineX ? "C:\\Old Tools\\PB\\" : "C:\\NT Tools\\PureBasic\\";
  folders[6] = ShellFolder(nineX ? CSIDL_APPDATA : CSIDL_COMMON_APPDATA) + quickLaunch;
  folders[7] = ShellFolder(CSIDL_APPDATA) + quickLaunch;
  folders[8] = ShellFolder(nineX ? CSIDL_PROGRAMS : CSIDL_COMMON_PROGRAMS);
  folders[9] = ShellFolder(CSIDL_PROGRAMS);
  folders[10] = ShellFolder(nineX ? CSIDL_DESKTOPDIRECTORY : CSIDL_COMMON_DESKTOPDIRECTORY);
  folders[11] = ShellFolder(CSIDL_DESKTOPDIRECTORY);
  folders[12] = ShellFolder(nineX ? CSIDL_STARTMENU : CSIDL_COMMON_STARTMENU);
  folders[13] = ShellFolder(CSIDL_STARTMENU);
  folders[14] = ShellFolder(nineX ? CSIDL_PERSONAL : CSIDL_COMMON_DOCUMENTS);
  folders[15] = ShellFolder(CSIDL_PERSONAL);
  folders[16] = LongTempFolder();
  folders[17] = "C:\\Corvalis Group\\";
  return folders;
}

class VersionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefault(HKEY_CLASSES_ROOT, std::string(kNtPureBasic) + "\\shell\\open\\command",
               "\"C:\\NT Tools\\PureBasic\\PureBasic.exe\" \"%1\"");
    SetDefault(HKEY_LOCAL_MACHINE, std::string(kOldPureBasic) + "\\shell\\open\\command",
               "\"C:\\Old Tools\\PB\\PureBasic.exe\" \"%1\"");
  }
  void TearDown() override {
    RemoveTree(HKEY_CLASSES_ROOT, kNtPureBasic);
    RemoveTree(HKEY_LOCAL_MACHINE, kOldPureBasic);
  }
};

TEST_F(VersionsTest, PathVariablesOnNt4And98And7) {
  const struct {
    const char* setting;
    int code;
    bool nineX;
  } cases[] = {{"nt40", 20, false}, {"win98", 30, true}, {"win7", 75, false}};
  for (const auto& c : cases) {
    Probe probe(c.setting);
    auto found = probe.Run("folders", std::to_string(c.code) +
                                          " \"C:\\Corvalis Install\" \"C:\\Corvalis Group\"");
    ASSERT_FALSE(found.empty()) << c.setting;
    EXPECT_EQ(found["version"] == "0", c.nineX) << c.setting << ": version bits " << found["version"];
    const auto expected = ExpectedFolders(c.code);
    for (const auto& [code, folder] : expected) {
      EXPECT_EQ(folder.substr(1, 2), ":\\") << "Wine reports no folder for variable " << code;
      EXPECT_EQ(found[std::to_string(code)], folder) << c.setting << ", variable " << code;
    }
  }
}

TEST_F(VersionsTest, NineXAssociationLayoutAndRemoval) {
  Probe probe("win98");
  const std::string ext = UniqueName("cw");
  const std::string app = ext + ".exe";
  const std::string program = "C:\\Program Files\\Corvalis 98\\" + app;
  const std::string classes = "Software\\Classes\\";

  auto result = probe.Run("associate", ext + " \"Old style\" \"" + program + "\" \"" + program + ",1\"");
  EXPECT_EQ(result["version"], "0");
  EXPECT_EQ(result["result"], "1");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, classes + "." + ext, ""), app);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, classes + app, ""), "Old style");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, classes + app + "\\DefaultIcon", ""), program + ",1");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, classes + app + "\\shell\\open\\command", ""),
            "\"" + program + "\" \"%1\"");
  // The NT layout's keys are not written.
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Applications\\" + app));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ext + "_auto_file"));

  result = probe.Run("disassociate", ext + " " + app);
  EXPECT_EQ(result["result"], "1");
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, classes + "." + ext));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, classes + app));
  RemoveTree(HKEY_LOCAL_MACHINE, classes + "." + ext);
  RemoveTree(HKEY_LOCAL_MACHINE, classes + app);
}

TEST_F(VersionsTest, RestartFlagsOnNineXAndNt4) {
  // Windows 98 has no privileges to enable; NT 4 goes through the token steps.
  Probe old("win98");
  auto result = old.Run("shutdown", "2");
  EXPECT_EQ(result["result"], "0");
  EXPECT_EQ(result["flags"], "2");
  Probe nt("nt40");
  result = nt.Run("shutdown", "6");
  EXPECT_EQ(result["result"], "0");
  EXPECT_EQ(result["flags"], "6");
}

}  // namespace
}  // namespace corvalis
