// The configuration steps against the real system, one at a time (success paths;
// the failure paths end the process and are covered end to end).
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "common/special_folders.h"
#include "installer/config/language_selection.h"
#include "installer/config/setup_steps.h"
#include "installer/install_session.h"

namespace corvalis {
namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(ConfigSteps, ReadTheirFiles) {
  const std::string folder = TemporaryFolder() + "config_win_test\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  InstallSession session;

  session.StatisticsPath = folder + "Statistics.ini";
  WriteFile(session.StatisticsPath, std::string("\x00\x10\x00\x00\x00\x00\x00\x00", 8));
  LoadStatistics(session);
  EXPECT_EQ(session.RequiredSpace, 4096u);

  WriteFile(folder + "lang.ini",
            "\xEF\xBB\xBF[VLX Localization File] = \r\nLanguage = Fran\xC3\xA7" "ais\r\n"
            "[LocalizationStub]\r\nKey0 = Erreur\r\nKey25 = Suivant \xC2\xBB\r\n"
            "[LocalizationUninstall]\r\nKey7 = Fin\r\nKey0 = Confirmer\r\n");
  LoadLanguage(session, folder + "lang.ini");
  EXPECT_EQ(session.StubTexts[0], "Erreur");
  EXPECT_EQ(session.StubTexts[25], "Suivant \xBB");
  EXPECT_EQ(session.StubTexts[24], "");
  ASSERT_EQ(session.UninstallTexts.size(), 2u);
  EXPECT_EQ(session.UninstallTexts[0].first, "Key7");

  session.ScriptPath = folder + "Script.ini";
  WriteFile(session.ScriptPath,
            "[GeneralInformation]\r\nAppName = Sample\r\n[InstTasks]\r\nA = DELETEFILE\xB6x\r\n");
  LoadScript(session);
  EXPECT_EQ(session.ScriptSettings.AppName, "Sample");
  ASSERT_EQ(session.ScriptSettings.InstTasks.size(), 1u);
  EXPECT_FALSE(Exists(session.ScriptPath));  // the script lives only until it is read

  DeleteFileA(session.StatisticsPath.c_str());
  DeleteFileA((folder + "lang.ini").c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST(ConfigSteps, FreeSpace) {
  EXPECT_TRUE(FreeSpaceAtLeast(0));
  EXPECT_TRUE(FreeSpaceAtLeast(1024));
  EXPECT_FALSE(FreeSpaceAtLeast(~0ull));
}

// Creates the framework folder's version folders for one test and removes exactly
// what it created.
class FrameworkFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char windows[MAX_PATH];
    GetSystemWindowsDirectoryA(windows, sizeof windows);
    net_ = std::string(windows) + "\\Microsoft.NET\\";
    framework_ = net_ + "Framework\\";
    if (CreateDirectoryA(net_.c_str(), nullptr)) created_.push_back(net_);
    if (CreateDirectoryA(framework_.c_str(), nullptr)) created_.push_back(framework_);
  }
  void TearDown() override {
    for (const std::string& file : files_) DeleteFileA(file.c_str());
    for (auto it = created_.rbegin(); it != created_.rend(); ++it) RemoveDirectoryA(it->c_str());
  }
  void AddFolder(const std::string& name) {
    const std::string path = framework_ + name;
    if (CreateDirectoryA(path.c_str(), nullptr)) created_.push_back(path);
  }
  void AddFile(const std::string& name) {
    files_.push_back(framework_ + name);
    WriteFile(files_.back(), "not a folder");
  }
  std::string net_, framework_;
  std::vector<std::string> created_, files_;
};

TEST_F(FrameworkFolder, VersionFoldersDecide) {
  AddFolder("v1.1.4322");
  AddFile("v3.5");
  EXPECT_TRUE(IsFrameworkInstalled("1.1"));
  EXPECT_FALSE(IsFrameworkInstalled("2.0"));
  EXPECT_FALSE(IsFrameworkInstalled("3.5"));  // a file is no version folder
  AddFolder("v2.0.50727");
  EXPECT_TRUE(IsFrameworkInstalled("2.0"));
  EXPECT_TRUE(IsFrameworkInstalled("1.1"));
}

}  // namespace
}  // namespace corvalis
