#include "installer/config/language_texts.h"

#include <gtest/gtest.h>

namespace corvalis {
namespace {

TEST(LanguageTexts, ReadsStubAndUninstallGroups) {
  const IniDocument doc = ParseIni(
      "[VLX Localization File] = \n"
      "Language = English\n"
      "[LocalizationProgramData]\n"
      "Key0 = builder text\n"
      "[LocalizationStub]\n"
      "Key0 = Error\n"
      "Key96 = for\n"
      "Key97 = beyond the table\n"
      "Key14 = License for $APPNAME$\n"
      "[LocalizationUninstall]\n"
      "Key1 = Are you sure you want to uninstall $APPNAME$?\n"
      "Key0 = Please confirm\n"
      "Extra = kept too\n");
  StubTextTable stub;
  stub[25] = "left over";
  UninstallTextList uninstall = {{"old", "pair"}};
  ReadLanguageTexts(doc, &stub, &uninstall);
  EXPECT_EQ(stub[0], "Error");
  EXPECT_EQ(stub[96], "for");
  EXPECT_EQ(stub[14], "License for $APPNAME$");  // not expanded while reading
  EXPECT_EQ(stub[25], "");                        // missing key: empty, no fallback
  ASSERT_EQ(uninstall.size(), 3u);
  EXPECT_EQ(uninstall[0], std::make_pair(std::string("Key1"),
                                         std::string("Are you sure you want to uninstall $APPNAME$?")));
  EXPECT_EQ(uninstall[1].first, "Key0");
  EXPECT_EQ(uninstall[2].second, "kept too");
}

TEST(LanguageTexts, PlaceholdersInAnyLetterCase) {
  EXPECT_EQ(ExpandAppTexts("Welcome to the $appname$ version $APPVERSION$ installation wizard.",
                           "Sample", "2.1"),
            "Welcome to the Sample version 2.1 installation wizard.");
  EXPECT_EQ(ExpandAppTexts("$AppName$$appname$ $AppVersion$", "A", "1"), "AA 1");
  EXPECT_EQ(ExpandAppTexts("$APPNAME", "A", "1"), "$APPNAME");
  // The name is put in first, so a version placeholder inside it is replaced as well.
  EXPECT_EQ(ExpandAppTexts("$APPNAME$", "X $appversion$", "3"), "X 3");
}

TEST(LanguageTexts, OnlyFourTextsAreExpanded) {
  StubTextTable stub;
  for (int i = 0; i < kStubTextCount; ++i) stub[i] = "$AppName$ $APPVERSION$";
  ScriptSettings settings;
  settings.AppName = "Sample";
  settings.Version = "9";
  ExpandStubPlaceholders(&stub, settings);
  for (int i = 0; i < kStubTextCount; ++i) {
    const bool expanded = i == 14 || i == 18 || i == 28 || i == 40;
    EXPECT_EQ(stub[i], expanded ? "Sample 9" : "$AppName$ $APPVERSION$") << "Key" << i;
  }
}

std::vector<LanguageEntry> Entries(std::initializer_list<const char*> names) {
  std::vector<LanguageEntry> entries;
  int n = 0;
  for (const char* name : names) entries.push_back({name, "", "C:\\l" + std::to_string(n++)});
  return entries;
}

TEST(LanguageTexts, Preselection) {
  EXPECT_EQ(PreselectedLanguageIndex({}), -1);
  EXPECT_EQ(PreselectedLanguageIndex(Entries({"Deutsch", "Fran\xE7" "ais"})), 0);
  EXPECT_EQ(PreselectedLanguageIndex(Entries({"Deutsch", "English", "english", "Polski"})), 2);
  EXPECT_EQ(PreselectedLanguageIndex(Entries({"Deutsch", "English ", "ENGLISH"})), 2);
  EXPECT_EQ(PreselectedLanguageIndex(Entries({"Deutsch", "English (US)"})), 0);
}

TEST(LanguageTexts, ChoiceFindsFirstMatchIgnoringCaseAndSpaces) {
  const auto entries = Entries({"Deutsch", "English", "english", "   French  "});
  EXPECT_EQ(FindLanguagePath(entries, "english"), "C:\\l1");
  EXPECT_EQ(FindLanguagePath(entries, "   French  "), "C:\\l3");
  EXPECT_EQ(FindLanguagePath(entries, "FRENCH"), "C:\\l3");
  EXPECT_EQ(FindLanguagePath(entries, "Polski"), "");
  EXPECT_EQ(FindLanguagePath(entries, ""), "");
}

// Deployment tools name a language by its English name or ISO code; the display name wins.
TEST(LanguageTexts, CommandLineNamesDisplayEnglishOrIso) {
  std::vector<LanguageEntry> entries = {{"Deutsch", "", "C:\\w\\German@utf-8.ini"},
                                        {"English", "", "C:\\w\\English@ascii.ini"},
                                        {"Polski", "", "C:\\w\\Polish.ini"}};
  for (const char* name : {"Deutsch", "german", "DE", " de "}) {
    EXPECT_EQ(FindLanguageByName(entries, name), "C:\\w\\German@utf-8.ini") << name;
  }
  EXPECT_EQ(FindLanguageByName(entries, "pl"), "C:\\w\\Polish.ini");
  EXPECT_EQ(FindLanguageByName(entries, "en"), "C:\\w\\English@ascii.ini");
  EXPECT_EQ(FindLanguageByName(entries, "fr"), "");
  EXPECT_EQ(FindLanguageByName(entries, "utf-8"), "");
}

}  // namespace
}  // namespace corvalis
