#include "common/ini_file.h"

#include <gtest/gtest.h>

#include <random>

namespace corvalis {
namespace {

TEST(IniFile, TrimsNamesAndValuesAndSkipsComments) {
  const IniDocument doc = ParseIni(
      "; leading comment\r\n"
      "  \t[ Group One ]  trailing text\r\n"
      "\t Name \t=\t value with  inner spaces \t\r\n"
      "   ; indented comment = not a key\r\n"
      "Empty =\r\n"
      "Equals = a=b\r\n");
  ASSERT_EQ(doc.Groups.size(), 1u);
  EXPECT_EQ(doc.Groups[0].Name, "Group One");
  ASSERT_EQ(doc.Groups[0].Keys.size(), 3u);
  EXPECT_EQ(GetIniValue(doc, "Group One", "Name"), "value with  inner spaces");
  EXPECT_EQ(GetIniValue(doc, "Group One", "Empty", "fallback"), "");
  EXPECT_EQ(GetIniValue(doc, "Group One", "Equals"), "a=b");
  EXPECT_EQ(GetIniValue(doc, "Group One", "Missing", "fallback"), "fallback");
  EXPECT_EQ(GetIniValue(doc, "No Group", "Name", "fallback"), "fallback");
  EXPECT_TRUE(doc.StrayLines.empty());
}

TEST(IniFile, HeaderLineWithTextAfterBracket) {
  const IniDocument doc =
      ParseIni("[VLX Localization File] = \nLanguage = English\nAuthor = Someone\n");
  EXPECT_EQ(GetIniValue(doc, "VLX Localization File", "Language"), "English");
  EXPECT_EQ(GetIniValue(doc, "vlx localization file", "AUTHOR"), "Someone");
}

TEST(IniFile, AcceptsEveryLineEnd) {
  const IniDocument doc = ParseIni("[G]\r\nA=1\nB=2\rC=3\r\n\r\n\n\rD=4");
  ASSERT_EQ(doc.Groups.size(), 1u);
  ASSERT_EQ(doc.Groups[0].Keys.size(), 4u);
  EXPECT_EQ(GetIniValue(doc, "G", "A"), "1");
  EXPECT_EQ(GetIniValue(doc, "G", "B"), "2");
  EXPECT_EQ(GetIniValue(doc, "G", "C"), "3");
  EXPECT_EQ(GetIniValue(doc, "G", "D"), "4");
  // Line numbers count CR LF as one end and a lone CR or LF as one each.
  EXPECT_EQ(doc.Groups[0].Keys[2].LineNumber, 4);
  EXPECT_EQ(doc.Groups[0].Keys[3].LineNumber, 8);
}

TEST(IniFile, Utf8WithByteOrderMarkBecomesAnsi) {
  const IniDocument doc = ParseIni(
      "\xEF\xBB\xBF[LocalizationStub]\r\n"
      "Key1 = Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xE2\x80\x9Cq\xE2\x80\x9D\r\n"
      "Key2 = \xE4\xB8\xAD\xF0\x9F\x98\x80!\r\n"
      "Key3 = a\xC2\xB6" "b\r\n");
  EXPECT_EQ(GetIniValue(doc, "LocalizationStub", "Key1"), "Gr\xFC\xDF" "e \x80 \x93q\x94");
  // Characters that code page 1252 lacks become "?".
  EXPECT_EQ(GetIniValue(doc, "LocalizationStub", "Key2"), "?" "?!");
  EXPECT_EQ(Field(GetIniValue(doc, "LocalizationStub", "Key3"), 2), "b");
}

TEST(IniFile, AnsiWithoutMarkIsTakenAsIs) {
  const IniDocument doc = ParseIni("[G]\nK = Gr\xFC\xDF" "e\xB6\xC3\xBC\n");
  EXPECT_EQ(GetIniValue(doc, "G", "K"), "Gr\xFC\xDF" "e\xB6\xC3\xBC");
}

// The fixed table of the native build; on Windows the system's converter decides how
// many question marks a broken sequence costs (tests/common/code_page_test.cpp).
#ifndef _WIN32
TEST(IniFile, MalformedUtf8BecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToAnsi("a\x80" "b"), "a?b");
  EXPECT_EQ(Utf8ToAnsi("\xC3"), "?");              // cut short at the end
  EXPECT_EQ(Utf8ToAnsi("\xE2\x82x"), "?" "?x");    // cut short inside
  EXPECT_EQ(Utf8ToAnsi("\xC0\xAF"), "??");         // overlong
  EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80"), "?");      // surrogate
  EXPECT_EQ(Utf8ToAnsi("\xC2\x81"), "\x81");       // a hole of the code page keeps its byte
  EXPECT_EQ(Utf8ToAnsi("\xC2\x80"), "?");
}
#endif

TEST(IniFile, KeepsGroupAndKeyOrderAndHandlesDuplicates) {
  const IniDocument doc = ParseIni(
      "Early = before any group\n"
      "[Second]\nB = 1\nA = 2\n"
      "[First]\nX = 1\n"
      "[second]\nB = 3\nC = 4\n"
      "not a key line\n"
      "= no name\n");
  ASSERT_EQ(doc.Groups.size(), 3u);
  EXPECT_EQ(doc.Groups[0].Name, "");
  EXPECT_EQ(doc.Groups[0].LineNumber, 0);
  EXPECT_EQ(doc.Groups[1].Name, "Second");
  EXPECT_EQ(doc.Groups[2].Name, "First");
  // A repeated group continues the first; a lookup finds the first of duplicate keys.
  ASSERT_EQ(doc.Groups[1].Keys.size(), 4u);
  EXPECT_EQ(doc.Groups[1].Keys[2].Value, "3");
  EXPECT_EQ(GetIniValue(doc, "Second", "B"), "1");
  EXPECT_EQ(GetIniValue(doc, "Second", "C"), "4");
  ASSERT_EQ(doc.StrayLines.size(), 2u);
  EXPECT_EQ(doc.StrayLines[0].LineNumber, 10);
  EXPECT_EQ(doc.StrayLines[0].Group, "Second");
  EXPECT_EQ(doc.StrayLines[1].Text, "= no name");
}

TEST(IniFile, GroupLineWithoutClosingBracketStillStartsAGroup) {
  const IniDocument doc = ParseIni("[A]\nK = a\n[Broken\nK = b\n");
  EXPECT_EQ(GetIniValue(doc, "A", "K"), "a");
  EXPECT_EQ(GetIniValue(doc, "Broken", "K"), "b");
}

TEST(IniFile, IntegerParser) {
  struct Case {
    const char* text;
    std::int64_t value;
  } cases[] = {
      {"12", 12},      {"  \t-7", -7},  {"+3", 3},     {"$1F", 31},   {"$ff", 255},
      {"%101", 5},     {"%102", 2},     {"12abc", 12}, {"abc", 0},    {"", 0},
      {"$", 0},        {"-$10", -16},   {"$1G", 1},    {"1 2", 1},    {"- 5", 0},
      {"$FFFFFF", 0xFFFFFF},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseInteger(c.text), c.value) << c.text;
  // Huge inputs wrap instead of overflowing.
  EXPECT_EQ(ParseInteger("$10000000000000001"), 1);
}

TEST(IniFile, PilcrowFields) {
  const std::string line = "RUN\xB6" "0\xB6\xB6" "1";
  EXPECT_EQ(FieldCount(line), 4);
  EXPECT_EQ(Field(line, 1), "RUN");
  EXPECT_EQ(Field(line, 2), "0");
  EXPECT_EQ(Field(line, 3), "");
  EXPECT_EQ(Field(line, 4), "1");
  EXPECT_EQ(Field(line, 5), "");
  EXPECT_EQ(Field(line, 0), "");

  const std::string trailing = "a\xB6\xB6";  // two empty fields at the end
  EXPECT_EQ(FieldCount(trailing), 3);
  EXPECT_EQ(Field(trailing, 2), "");
  EXPECT_EQ(Field(trailing, 3), "");
  EXPECT_EQ(Field("", 1), "");
  EXPECT_EQ(FieldCount(""), 1);
}

TEST(IniFile, LowerCaseCoversAccentedLetters) {
  EXPECT_EQ(ToLowerAnsi("English \xC9\xC0\xD7\xDE\x8A\x9F"), "english \xE9\xE0\xD7\xFE\x9A\xFF");
  EXPECT_TRUE(EqualsNoCase("InstTasks", "INSTTASKS"));
  EXPECT_FALSE(EqualsNoCase("InstTasks", "InstTask"));
}

// Random bytes, with and without a byte-order mark, must parse without harm, and
// whatever comes out keeps the reader's promises.
TEST(IniFile, RandomInputIsHandled) {
  std::mt19937 random(12345);
  const char alphabet[] = "[]=; \t\r\n\xB6\xEF\xBB\xBF\xC3\x80\xE2" "abcAB$%-0129";
  for (int round = 0; round < 3000; ++round) {
    std::string bytes = round % 3 == 0 ? "\xEF\xBB\xBF" : "";
    const int length = static_cast<int>(random() % 200);
    for (int i = 0; i < length; ++i) {
      bytes.push_back(round % 2 ? static_cast<char>(random() % 256)
                                : alphabet[random() % (sizeof alphabet - 1)]);
    }
    const IniDocument doc = ParseIni(bytes);
    for (const IniGroup& group : doc.Groups) {
      for (const IniKey& key : group.Keys) {
        ASSERT_FALSE(key.Name.empty());
        ASSERT_EQ(key.Name, TrimBlanks(key.Name));
        ASSERT_EQ(key.Value, TrimBlanks(key.Value));
        ASSERT_EQ(key.Name.find_first_of("\r\n"), std::string::npos);
        ASSERT_EQ(key.Value.find_first_of("\r\n"), std::string::npos);
        ParseInteger(key.Value);
        Field(key.Value, FieldCount(key.Value) + 1);
      }
    }
  }
}

}  // namespace
}  // namespace corvalis
