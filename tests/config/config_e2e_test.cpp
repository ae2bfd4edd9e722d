// The installer from package to the end of its checks, driven through its windows:
// language choice, the configuration files, Windows versions and the .NET Framework.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/control_ids.h"
#include "common/ini_file.h"
#include "common/special_folders.h"
#include "tests/support/installer_run.h"
#include "tools/winrobot/winrobot.h"

namespace {

using namespace installer_e2e;

const char* const kDialogTitle = kLanguageDialogTitle;
const char kConfirmText[] =
    "Are you sure you want to stop the installation now? Press 'No' to continue or 'Yes' to "
    "end this program. You can run this installer at a later time and continue the "
    "installation procedure.";
const char kKey6[] =
    "One or more dependencies were not found on this computer. This program requires the .NET "
    "Framework";

HWND WaitForDialog(InstallerRun& run) {
  HWND dialog = winrobot::WaitForWindowOfProcess(run.Pid(), kDialogTitle, kStartMs);
  EXPECT_NE(dialog, nullptr) << winrobot::LastError();
  return dialog;
}

// The unpacked language files' names in the order the file system lists them, as the
// test itself reads them (in the code page it runs under); *english: the index of the
// one the dialog preselects.
std::vector<std::string> LanguagesOfPackage(InstallerRun& run, int* english) {
  const std::string languages = run.WorkFolder() + "Information\\Languages\\";
  std::vector<std::string> names;
  for (const std::string& file : ListFolder(languages + "*.ini", false)) {
    corvalis::IniDocument doc;
    EXPECT_TRUE(corvalis::LoadIniFile(languages + file, &doc)) << file;
    const std::string name = corvalis::GetIniValue(doc, "VLX Localization File", "Language");
    if (name == "English" || name == "english") *english = static_cast<int>(names.size());
    names.push_back(name);
  }
  return names;
}

// Another ZIP writer's "./Config/Script.ini" names: the package unpacks, offers its
// languages and gets through the configuration.
TEST(ConfigEndToEnd, DotSlashNamesReachTheLanguageStep) {
  InstallerRun run;
  ASSERT_TRUE(run.Start("cfg_dot_names"));
  HWND dialog = WaitForDialog(run);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(Exists(run.WorkFolder() + "Information\\Config\\Script.ini"));
  int english = -1;
  EXPECT_EQ(LanguagesOfPackage(run, &english).size(), 3u);
  ASSERT_TRUE(winrobot::ClickButton(dialog, "OK")) << winrobot::LastError();
  run.ExpectChecksPassed(true);
}

// Run by the config_e2e_russian test under LC_ALL=ru_RU.UTF-8 (ANSI code page 1251): a
// Russian UTF-8 language file names its language in Cyrillic, not in question marks.
TEST(ConfigEndToEndRussian, LanguageNameInCyrillic) {
  if (!std::getenv("CORVALIS_EXPECT_CODE_PAGE")) GTEST_SKIP() << "runs under the Russian locale only";
  ASSERT_EQ(std::to_string(GetACP()), std::getenv("CORVALIS_EXPECT_CODE_PAGE"));
  InstallerRun run;
  ASSERT_TRUE(run.Start("cfg_russian"));
  HWND dialog = WaitForDialog(run);
  ASSERT_NE(dialog, nullptr);
  const std::vector<std::string> items =
      winrobot::ListItems(dialog, "#" + std::to_string(corvalis::kIdLanguageList));
  const std::string russian = "\xD0\xF3\xF1\xF1\xEA\xE8\xE9";  // the word in code page 1251
  EXPECT_EQ(std::count(items.begin(), items.end(), russian), 1) << "items: " << ::testing::PrintToString(items);
  EXPECT_EQ(std::count(items.begin(), items.end(), "English"), 1);
}

TEST(ConfigEndToEnd, OneLanguageNeedsNoDialog) {
  InstallerRun run;
  ASSERT_TRUE(run.Start("cfg_one_language"));
  run.ExpectChecksPassed();
}

TEST(ConfigEndToEnd, DialogOffersLanguagesAndCancelAsks) {
  InstallerRun run;
  ASSERT_TRUE(run.Start("cfg_languages"));
  HWND dialog = WaitForDialog(run);
  ASSERT_NE(dialog, nullptr);

  // The dialog's shape: client area, no system menu, its texts and buttons.
  RECT client;
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right - client.left, 329);
  EXPECT_EQ(client.bottom - client.top, 112);
  EXPECT_EQ(GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_NE(winrobot::FindControl(dialog,
                                  "Please choose your language from the list below. The "
                                  "installation will continue with the selected language."),
            nullptr);
  EXPECT_NE(winrobot::FindControl(dialog, "OK"), nullptr);

  int preselected = -1;
  const std::vector<std::string> expected = LanguagesOfPackage(run, &preselected);
  ASSERT_EQ(expected.size(), 3u);
  const std::string id = "#" + std::to_string(corvalis::kIdLanguageList);
  EXPECT_EQ(winrobot::ListItems(dialog, id), expected);
  DWORD_PTR selected = 0;
  SendMessageTimeoutA(winrobot::FindControl(dialog, id), CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG,
                      5000, &selected);
  EXPECT_EQ(static_cast<int>(selected), preselected);

  // Cancel asks; No goes back to the dialog, Yes ends the installer.
  ASSERT_TRUE(winrobot::ClickButton(dialog, "Cancel")) << winrobot::LastError();
  HWND confirm = winrobot::WaitForMessageBox(run.Pid(), "Please confirm", kStepMs);
  ASSERT_NE(confirm, nullptr) << winrobot::LastError();
  EXPECT_EQ(winrobot::MessageBoxText(confirm), kConfirmText);
  ASSERT_TRUE(winrobot::AnswerMessageBox(confirm, "No")) << winrobot::LastError();
  ASSERT_TRUE(winrobot::WaitForWindowGone(confirm, kStepMs));
  EXPECT_TRUE(run.Running());
  EXPECT_TRUE(IsWindowVisible(dialog));

  ASSERT_TRUE(winrobot::ClickButton(dialog, "Cancel")) << winrobot::LastError();
  confirm = winrobot::WaitForMessageBox(run.Pid(), "Please confirm", kStepMs);
  ASSERT_NE(confirm, nullptr) << winrobot::LastError();
  ASSERT_TRUE(winrobot::AnswerMessageBox(confirm, "Yes")) << winrobot::LastError();
  ASSERT_TRUE(run.WaitEnd(kStepMs, 1602));
  EXPECT_FALSE(Exists(run.WorkFolder()));
}

TEST(ConfigEndToEnd, NoLanguageInThePackage) {
  InstallerRun run;
  ASSERT_TRUE(run.Start("cfg_no_language"));
  run.ExpectEndsWithMessage("Error", "This installer package is incomplete and/or corrupted.");
}

// A file of the unpacked package that disappears while the dialog waits: the next
// step that needs it reports it in the chosen language.
struct VanishingFile {
  const char* file;  // below Information\ of the work folder
  const char* choice;
  const char* title;
  const char* text;
};

class VanishingFileTest : public ::testing::TestWithParam<VanishingFile> {};

TEST_P(VanishingFileTest, IsReported) {
  const VanishingFile& p = GetParam();
  InstallerRun run;
  ASSERT_TRUE(run.Start("cfg_languages"));
  HWND dialog = WaitForDialog(run);
  ASSERT_NE(dialog, nullptr);
  const std::string path = run.WorkFolder() + "Information\\" + p.file;
  ASSERT_TRUE(DeleteFileA(path.c_str())) << path;
  ASSERT_TRUE(winrobot::SelectItem(dialog, "#" + std::to_string(corvalis::kIdLanguageList), p.choice))
      << winrobot::LastError();
  ASSERT_TRUE(winrobot::ClickButton(dialog, "OK")) << winrobot::LastError();
  run.ExpectEndsWithMessage(p.title, p.text);
}

INSTANTIATE_TEST_SUITE_P(
    ConfigEndToEnd, VanishingFileTest,
    ::testing::Values(
        VanishingFile{"Languages\\German@utf-8.ini", "Deutsch", "Error",
                      "Could not read the localization file from the temporary directory!"},
        VanishingFile{"Config\\Statistics.ini", "Deutsch", "Fehler",
                      "Die Statistikdatei konnte nicht gelesen werden."},
        VanishingFile{"Config\\Script.ini", "Deutsch", "Fehler",
                      "Das Installationsskript konnte nicht aus dem tempor\xE4ren Ordner gelesen "
                      "werden!"},
        VanishingFile{"Config\\Script.ini", "English", "Error",
                      "Could not read installation script from the temporary directory!"}));

struct VersionCase {
  const char* package;
  const char* wineVersion;
  bool refused;
};

class WindowsVersionTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(WindowsVersionTest, FollowsTheScript) {
  const VersionCase& p = GetParam();
  InstallerRun run;
  ASSERT_TRUE(run.Start(p.package, p.wineVersion));
  if (p.refused) {
    run.ExpectEndsWithMessage("Error",
                              "The program cannot be installed on this operating system version!");
  } else {
    run.ExpectChecksPassed();
  }
}

// On Server 2003 "WV" decides, not "WXP".
INSTANTIATE_TEST_SUITE_P(
    ConfigEndToEnd, WindowsVersionTest,
    ::testing::Values(VersionCase{"cfg_forbid_w98", "win98", true},
                      VersionCase{"cfg_forbid_wnt", "nt40", true},
                      VersionCase{"cfg_forbid_w2k", "win2k", true},
                      VersionCase{"cfg_forbid_wxp", "winxp", true},
                      VersionCase{"cfg_forbid_wv", "vista", true},
                      VersionCase{"cfg_forbid_wv2003", "win2003", true},
                      VersionCase{"cfg_allow_wxp2003", "win2003", false},
                      VersionCase{"cfg_forbid_wxp", "win2k", false}));

// The framework folder of the Wine prefix with exactly the version folders a test
// asks for, and a recording program in place of the web browser.
class FrameworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char windows[MAX_PATH] = "";
    GetSystemWindowsDirectoryA(windows, sizeof windows);
    const std::string net = std::string(windows) + "\\Microsoft.NET\\";
    framework_ = net + "Framework\\";
    for (const std::string& folder : {net, framework_}) {
      if (CreateDirectoryA(folder.c_str(), nullptr)) created_.push_back(folder);
    }
    ASSERT_TRUE(Exists(framework_));
    ASSERT_TRUE(ListFolder(framework_ + "*", true).empty()) << "framework folder not empty";

    log_ = corvalis::TemporaryFolder() + "cfg_opened_addresses.txt";
    DeleteFileA(log_.c_str());
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &handler_, nullptr),
              ERROR_SUCCESS);
    char old[1024] = "";
    DWORD size = sizeof old;
    DWORD type = 0;
    hadHandler_ = RegQueryValueExA(handler_, nullptr, nullptr, &type,
                                   reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
    oldHandler_.assign(old, size && !old[size - 1] ? size - 1 : size);
    const std::string command =
        "\"" + corvalis::testing::HelperPath("url_recorder.exe") + "\" \"" + log_ + "\" \"%1\"";
    ASSERT_EQ(RegSetValueExA(handler_, nullptr, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(command.c_str()),
                             static_cast<DWORD>(command.size() + 1)),
              ERROR_SUCCESS);
  }

  void TearDown() override {
    if (handler_) {
      if (hadHandler_) {
        RegSetValueExA(handler_, nullptr, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(oldHandler_.c_str()),
                       static_cast<DWORD>(oldHandler_.size() + 1));
      } else {
        RegDeleteValueA(handler_, nullptr);
      }
      RegCloseKey(handler_);
    }
    DeleteFileA(log_.c_str());
    for (const std::string& folder : versions_) RemoveDirectoryA(folder.c_str());
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) RemoveDirectoryA(it->c_str());
  }

  void AddVersion(const std::string& name) {
    const std::string folder = framework_ + name;
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
    versions_.push_back(folder);
  }

  // The addresses the "browser" was given, after waiting for the first one or, when
  // none is expected, for a while.
  std::vector<std::string> OpenedAddresses(bool expectOne) {
    for (int waited = 0; waited < (expectOne ? kStepMs : 3000) && !Exists(log_); waited += 100) {
      Sleep(100);
    }
    Sleep(300);  // the recorder's line may still be on its way
    std::vector<std::string> lines;
    std::ifstream in(log_);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  std::string framework_;
  std::vector<std::string> created_;
  std::vector<std::string> versions_;
  std::string log_;
  HKEY handler_ = nullptr;
  bool hadHandler_ = false;
  std::string oldHandler_;
};

TEST_F(FrameworkTest, PassesWithAVersionFolder) {
  AddVersion("v1.1.4322");
  AddVersion("v2.0.50727");
  InstallerRun run;
  ASSERT_TRUE(run.Start("cfg_dotnet_plain"));
  run.ExpectChecksPassed();
  EXPECT_TRUE(OpenedAddresses(false).empty());
}

struct MissingFrameworkCase {
  const char* package;
  const char* opened;  // "" when nothing may be opened
};

class MissingFrameworkTest : public FrameworkTest,
                             public ::testing::WithParamInterface<MissingFrameworkCase> {};

TEST_P(MissingFrameworkTest, ReportsAndOpensTheAddress) {
  const MissingFrameworkCase& p = GetParam();
  AddVersion("v1.1.4322");
  InstallerRun run;
  ASSERT_TRUE(run.Start(p.package));
  run.ExpectEndsWithMessage("Error", std::string(kKey6) + " 2.0.");
  const std::vector<std::string> opened = OpenedAddresses(*p.opened != '\0');
  if (*p.opened) {
    EXPECT_EQ(opened, std::vector<std::string>{p.opened});
  } else {
    EXPECT_TRUE(opened.empty()) << opened.front();
  }
}

INSTANTIATE_TEST_SUITE_P(
    ConfigEndToEnd, MissingFrameworkTest,
    ::testing::Values(MissingFrameworkCase{"cfg_dotnet_plain", "http://127.0.0.1/dotnet/setup"},
                      MissingFrameworkCase{"cfg_dotnet_upper", "HTTP://127.0.0.1/Upper"},
                      MissingFrameworkCase{"cfg_dotnet_bare", ""}));

}  // namespace
