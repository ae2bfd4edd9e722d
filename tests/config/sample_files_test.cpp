// The sample package's configuration is what the README's main job and the end-to-end
// tests install: it must read cleanly and carry every text.
#include <gtest/gtest.h>

#include "common/ini_file.h"
#include "common/whole_file.h"
#include "installer/config/language_texts.h"
#include "installer/config/script_check.h"
#include "installer/config/script_reader.h"

namespace corvalis {
namespace {

std::string SampleFile(const char* relative) {
  std::string bytes;
  EXPECT_EQ(ReadWholeFile(std::string(CORVALIS_SAMPLE_DIR "/config/") + relative, kMaxIniFileBytes, &bytes),
            FileRead::Ok)
      << relative;
  return bytes;
}

TEST(SampleFiles, ScriptReadsWithoutWarnings) {
  const std::string bytes = SampleFile("Config/Script.ini");
  EXPECT_EQ(CheckScriptText(bytes), std::vector<std::string>());
  const ScriptSettings s = ReadScriptSettings(ParseIni(bytes));
  EXPECT_EQ(s.AppName, "Corvalis Sample");
  EXPECT_EQ(s.RequireLicense, "1");
  EXPECT_EQ(s.AutoCreateStartMenu, 1);
  ASSERT_EQ(s.InstTasks.size(), 18u);
  EXPECT_EQ(s.InstTasks.front().Name, "EndOldViewer");
  EXPECT_EQ(s.InstTasks.back().Name, "OpenReadMe");
  EXPECT_EQ(s.UninstTasks.size(), 1u);
}

TEST(SampleFiles, LanguagesCarryEveryText) {
  for (const char* file : {"Languages/English@ascii.ini", "Languages/German@utf-8.ini"}) {
    const IniDocument doc = ParseIni(SampleFile(file));
    EXPECT_FALSE(GetIniValue(doc, "VLX Localization File", "Language").empty()) << file;
    StubTextTable stub;
    UninstallTextList uninstall;
    ReadLanguageTexts(doc, &stub, &uninstall);
    for (int i = 0; i < kStubTextCount; ++i) EXPECT_FALSE(stub[i].empty()) << file << " Key" << i;
    ASSERT_EQ(uninstall.size(), 8u) << file;
    for (int i = 0; i < 8; ++i) EXPECT_EQ(uninstall[i].first, "Key" + std::to_string(i));
  }
}

TEST(SampleFiles, EnglishMessagesAreTheInstallersOwn) {
  const IniDocument doc = ParseIni(SampleFile("Languages/English@ascii.ini"));
  StubTextTable stub;
  UninstallTextList uninstall;
  ReadLanguageTexts(doc, &stub, &uninstall);
  EXPECT_EQ(stub[1], "Could not read the statistics file.");
  EXPECT_EQ(stub[3], "Could not read installation script from the temporary directory!");
  EXPECT_EQ(stub[5], "The program cannot be installed on this operating system version!");
  EXPECT_EQ(stub[6],
            "One or more dependencies were not found on this computer. This program requires "
            "the .NET Framework");
  EXPECT_EQ(stub[28], "Welcome to the $APPNAME$ version $APPVERSION$ installation wizard.");
}

TEST(SampleFiles, GermanIsConvertedFromUtf8) {
  const IniDocument doc = ParseIni(SampleFile("Languages/German@utf-8.ini"));
  EXPECT_EQ(GetIniValue(doc, "VLX Localization File", "Language"), "Deutsch");
  EXPECT_EQ(GetIniValue(doc, "LocalizationStub", "Key26"), "Zur\xFC" "ck");
  EXPECT_EQ(GetIniValue(doc, "LocalizationStub", "Key33"), "Durchsuchen");
  const std::string key18 = GetIniValue(doc, "LocalizationStub", "Key18");
  EXPECT_EQ(key18.substr(0, 22), "Klicken Sie auf \x84" "Durch");
}

}  // namespace
}  // namespace corvalis
