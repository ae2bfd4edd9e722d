// nelXtra's plain logic: command line, version texts, paths, filters, INI files.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "xtra/osutil/command_line.h"
#include "xtra/osutil/ini_access.h"
#include "xtra/osutil/nel_text.h"
#include "xtra/osutil/os_info.h"
#include "xtra/osutil/path_text.h"

namespace {

std::string Joined(const char* commandLine, size_t n = 4096) {
  std::string out(n, 'x');
  JoinCommandLineArguments(commandLine, &out[0], n);
  return out.c_str();
}

TEST(CommandLine, ArgumentsAreJoinedByCarriageReturns) {
  EXPECT_EQ(Joined("\"C:\\Program Files\\Host\\host.exe\" -x \"two words\""),
            "C:\\Program Files\\Host\\host.exe\r-x\rtwo words");
  EXPECT_EQ(Joined("C:\\host.exe"), "C:\\host.exe");
  EXPECT_EQ(Joined("C:\\host.exe   "), "C:\\host.exe");
  // The runtime's rules: backslashes before quotes, doubled quotes, empty arguments.
  EXPECT_EQ(Joined("h.exe a\\\\\"b c\" d\\\"e \"\" f\\g \"x\"\"y\""), "h.exe\ra\\b c\rd\"e\r\rf\\g\rx\"y");
  EXPECT_EQ(Joined("\"C:\\a b\\h.exe\"tail next"), "C:\\a b\\h.exetail\rnext");
  EXPECT_EQ(Joined("h.exe abcdef", 8), "h.exe\ra");
}

TEST(OsInfo, NamesVersionsAndAddresses) {
  struct Row {
    uint32_t major, minor, platform;
    const char* name;
  };
  const Row rows[] = {{4, 10, 1, "Windows 98"},    {4, 90, 1, "Windows Me"},   {4, 0, 2, "Windows NT 4.0"},
                      {5, 0, 2, "Windows 2000"},   {5, 1, 2, "Windows XP"},    {5, 2, 2, "Windows"},
                      {6, 0, 2, "Windows Vista"},  {6, 1, 2, "Windows 7"},     {6, 2, 2, "Windows"},
                      {10, 0, 2, "Windows"},       {3, 51, 2, "Windows NT 3.51"}, {4, 0, 1, "Windows 95"}};
  for (const Row& row : rows) EXPECT_STREQ(OsNameFor(row.major, row.minor, row.platform), row.name) << row.major << "." << row.minor;

  char text[64];
  FormatOsVersion(4, 10, 67766446, 1, " A ", text, sizeof text);
  EXPECT_STREQ(text, "4,10,67766446,1, A ");
  FormatOsVersion(5, 1, 0x80000001u, 2, "", text, sizeof text);
  EXPECT_STREQ(text, "5,1,-2147483647,2,");
  FormatOsVersion(6, 1, 7601, 2, "Service Pack 1", text, 10);
  EXPECT_STREQ(text, "6,1,7601,");

  const uint8_t address[6] = {0x00, 0x1A, 0x2B, 0xC3, 0xD4, 0xFF};
  const uint8_t zero[6] = {};
  char mac[kMacTextBytes];
  EXPECT_TRUE(FormatMacAddress(address, mac));
  EXPECT_STREQ(mac, "00:1A:2B:C3:D4:FF");
  EXPECT_FALSE(FormatMacAddress(zero, mac));
}

std::string Apply(void (*edit)(char*), std::string path) {
  edit(&path[0]);
  return path.c_str();
}

TEST(PathText, FileSpecsBackslashesAndFilters) {
  EXPECT_EQ(Apply(&RemoveFileSpec, "C:\\a\\b.txt"), "C:\\a");
  EXPECT_EQ(Apply(&RemoveFileSpec, "C:\\a"), "C:\\");
  EXPECT_EQ(Apply(&RemoveFileSpec, "C:\\"), "C:\\");
  EXPECT_EQ(Apply(&RemoveFileSpec, "\\a"), "\\");
  EXPECT_EQ(Apply(&RemoveFileSpec, "name.txt"), "");
  EXPECT_EQ(Apply(&RemoveFileSpec, "C:name.txt"), "C:");
  EXPECT_EQ(Apply(&RemoveFileSpec, ""), "");
  EXPECT_EQ(Apply(&RemoveTrailingBackslash, "C:\\Temp\\"), "C:\\Temp");
  EXPECT_EQ(Apply(&RemoveTrailingBackslash, "C:\\"), "C:");
  EXPECT_EQ(Apply(&RemoveTrailingBackslash, "C:\\Temp"), "C:\\Temp");
  EXPECT_EQ(Apply(&SlashesToBackslashes, "C:/a/b\\c"), "C:\\a\\b\\c");

  char filter[32];
  BuildDialogFilter("All |*.*|Text File|*.txt|", filter, sizeof filter);
  EXPECT_EQ(std::string(filter, 27), std::string("All \0*.*\0Text File\0*.txt\0\0\0", 27));
  char open[32];
  BuildDialogFilter("All |*.*|Text File|*.txt", open, sizeof open);
  EXPECT_EQ(std::string(open, sizeof open), std::string(filter, sizeof filter));
  // A filter that fills the buffer still ends the list with two NULs.
  char full[8];
  BuildDialogFilter("abcdefghij", full, sizeof full);
  EXPECT_EQ(std::string(full, sizeof full), std::string("abcdef\0\0", 8));
}

TEST(NelText, CutsStayInsideTheirBuffers) {
  char out[6] = "?????";
  CopyCut("abcdefgh", out, sizeof out);
  EXPECT_STREQ(out, "abcde");
  AppendDecimal(out, sizeof out, 7);
  EXPECT_STREQ(out, "abcde");
  CopyCut("", out, sizeof out);
  AppendDecimal(out, sizeof out, -2147483647 - 1);
  EXPECT_STREQ(out, "-2147");
  EXPECT_EQ(Utf8CutLength("ab\xC3\xA9", 3), 2u);
  EXPECT_EQ(Utf8CutLength("ab\xC3\xA9", 4), 4u);
  EXPECT_EQ(Utf8CutLength("a\xE2\x82\xAC" "b", 3), 1u);
}

// ---- INI files ------------------------------------------------------------------

#if defined(_WIN32)
constexpr char kNewline[] = "\r\n";
#else
constexpr char kNewline[] = "\n";
#endif

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path = ::testing::TempDir() + "nel_ini_test_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
    std::remove(path.c_str());
  }
  void TearDown() override { std::remove(path.c_str()); }
  void Put(const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
  std::string Bytes() {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::string Read(const char* section, const char* key, bool utf8) {
    char out[4096];
    ReadIniValue(path.c_str(), section, key, utf8, out, sizeof out);
    return out;
  }
  std::string path;
};

TEST_F(IniFileTest, WriteCreatesTheFileWithOrWithoutSignature) {
  ASSERT_TRUE(WriteIniValue(path.c_str(), "Setup", "Language", "English", false));
  const std::string plain = "[Setup]" + std::string(kNewline) + "Language=English" + kNewline;
  EXPECT_EQ(Bytes(), plain);
  std::remove(path.c_str());
  ASSERT_TRUE(WriteIniValue(path.c_str(), "Setup", "Language", "Fran\xC3\xA7" "ais", true));
  EXPECT_EQ(Bytes(), "\xEF\xBB\xBF[Setup]" + std::string(kNewline) + "Language=Fran\xC3\xA7" "ais" + kNewline);
  EXPECT_EQ(Read("setup", "LANGUAGE", true), "Fran\xC3\xA7" "ais");
  // Replacing the value through names in other letter case keeps one entry.
  ASSERT_TRUE(WriteIniValue(path.c_str(), "SETUP", "language", "Deutsch", true));
  EXPECT_EQ(Bytes(), "\xEF\xBB\xBF[Setup]" + std::string(kNewline) + "Language=Deutsch" + kNewline);
}

TEST_F(IniFileTest, SignatureIsOnlySkippedInUtf8Mode) {
  Put("\xEF\xBB\xBF[A]\r\nk=1\r\n[B]\r\nk=2\r\n");
  EXPECT_EQ(Read("A", "k", true), "1");
  EXPECT_EQ(Read("A", "k", false), "");  // the first line reads "\xEF\xBB\xBF[A]", no section
  EXPECT_EQ(Read("B", "k", false), "2");
  EXPECT_EQ(Read("", "k", false), "1");
}

TEST_F(IniFileTest, DeleteRemovesEmptiedSectionsAndLeavesMissingKeysAlone) {
  Put("[Keep]\r\na=1\r\n\r\n[Only]\r\nb=2\r\n");
  const std::string before = Bytes();
  EXPECT_FALSE(DeleteIniValue(path.c_str(), "Only", "missing", false));
  EXPECT_FALSE(DeleteIniValue(path.c_str(), "Nowhere", "b", false));
  EXPECT_EQ(Bytes(), before);
  EXPECT_TRUE(DeleteIniValue(path.c_str(), "ONLY", "B", false));
  EXPECT_EQ(Bytes(), "[Keep]" + std::string(kNewline) + "a=1" + kNewline);
  EXPECT_FALSE(DeleteIniValue((path + ".missing").c_str(), "Keep", "a", false));
}

TEST_F(IniFileTest, LongValuesAreCutAndMissingFoldersRefused) {
  Put("[S]\r\nk=" + std::string(5000, 'v') + "\r\n");
  const std::string value = Read("S", "k", false);
  EXPECT_EQ(value, std::string(4095, 'v'));
  EXPECT_EQ(Read("S", "none", false), "");
  EXPECT_EQ(Read("None", "k", false), "");
  std::remove(path.c_str());
  EXPECT_EQ(Read("S", "k", false), "");
  const std::string inMissingFolder = ::testing::TempDir() + "nel_no_such_folder/x.ini";
  EXPECT_FALSE(WriteIniValue(inMissingFolder.c_str(), "S", "k", "v", false));
}

}  // namespace
