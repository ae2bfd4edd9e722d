// Rules of the package code that need no system: version table, trailer, free space,
// unique names, command line, entry names.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <set>

#include "installer/package/entry_names.h"
#include "common/os_version.h"
#include "installer/package/package_checks.h"
#include "installer/package/package_layout.h"
#include "common/unique_names.h"

using namespace corvalis;

namespace {

OsVersionData Version(std::uint32_t platform, std::uint32_t major, std::uint32_t minor, bool extendedOk = false,
                      std::uint8_t productType = 0) {
  OsVersionData v;
  v.queryOk = true;
  v.platformId = platform;
  v.major = major;
  v.minor = minor;
  v.extendedOk = extendedOk;
  v.productType = productType;
  return v;
}

std::function<std::uint32_t()> Sequence(std::deque<std::uint32_t> values) {
  auto queue = std::make_shared<std::deque<std::uint32_t>>(std::move(values));
  return [queue]() {
    std::uint32_t v = queue->front();
    queue->pop_front();
    return v;
  };
}

std::vector<unsigned char> TrailerBytes(std::uint32_t info, std::uint32_t program, const char* marker = "EOF") {
  std::vector<unsigned char> t(kTrailerBytes);
  WriteTrailer(t.data(), info, program);
  std::memcpy(t.data() + 8, marker, 3);
  return t;
}

}  // namespace

TEST(OsVersionTable, EveryRow) {
  struct Row {
    OsVersionData data;
    int code;
  } rows[] = {
      {Version(kPlatform9x, 4, 0), 10},
      {Version(kPlatform9x, 4, 10), 30},
      {Version(kPlatform9x, 4, 90), 40},
      {Version(kPlatform9x, 4, 3), 100},
      {Version(kPlatformNt, 3, 51), 5},
      {Version(kPlatformNt, 3, 10), 5},
      {Version(kPlatformNt, 4, 0), 20},
      {Version(kPlatformNt, 4, 1), 100},
      {Version(kPlatformNt, 5, 0), 50},
      {Version(kPlatformNt, 5, 1), 60},
      {Version(kPlatformNt, 5, 2), 65},
      {Version(kPlatformNt, 5, 3), 100},
      {Version(kPlatformNt, 6, 0, true, kProductWorkstation), 70},
      {Version(kPlatformNt, 6, 1, true, kProductWorkstation), 70},
      {Version(kPlatformNt, 6, 3, false, 0), 70},  // extended query failed
      {Version(kPlatformNt, 6, 0, true, 3), 75},   // server
      {Version(kPlatformNt, 6, 1, true, 2), 75},   // domain controller
      {Version(kPlatformNt, 10, 0, true, kProductWorkstation), 100},
      {Version(kPlatformNt, 2, 0), 100},
      {Version(0, 3, 10), 100},  // Win32s
      {OsVersionData(), 100},    // query failed
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ClassifyOsVersion(row.data), row.code)
        << "platform " << row.data.platformId << " " << row.data.major << "." << row.data.minor << " type "
        << int(row.data.productType);
  }
  EXPECT_TRUE(IsNtFamily(20));
  EXPECT_TRUE(IsNtFamily(50));
  EXPECT_FALSE(IsNtFamily(30));
  EXPECT_FALSE(IsNtFamily(5));
}

TEST(Trailer, ReadsLengthsInTheirOrder) {
  auto t = TrailerBytes(0x01020304, 0x0A0B0C0D);
  Trailer trailer = ParseTrailer(t.data(), t.size(), 0x20000000);
  EXPECT_EQ(trailer.status, TrailerStatus::Ok);
  EXPECT_EQ(trailer.infoBytes, 0x01020304u);
  EXPECT_EQ(trailer.programBytes, 0x0A0B0C0Du);
  EXPECT_EQ(InfoArchiveOffset(trailer, 0x20000000), 0x20000000 - 11 - 0x01020304);
  EXPECT_EQ(ProgramArchiveOffset(trailer, 0x20000000), 0x20000000 - 11 - 0x01020304 - 0x0A0B0C0D);
}

TEST(Trailer, MarkerAndLengthFailures) {
  auto noMarker = TrailerBytes(10, 10, "EOG");
  EXPECT_EQ(ParseTrailer(noMarker.data(), noMarker.size(), 1000).status, TrailerStatus::NoEndMarker);
  // "EOF" followed by a line break: the last three bytes are not the marker.
  std::vector<unsigned char> lineBreak = TrailerBytes(10, 10);
  lineBreak.erase(lineBreak.begin(), lineBreak.begin() + 2);
  lineBreak.push_back('\r');
  lineBreak.push_back('\n');
  EXPECT_EQ(ParseTrailer(lineBreak.data(), lineBreak.size(), 1000).status, TrailerStatus::NoEndMarker);
  // Zero lengths with a good marker are message 3, not message 2.
  auto zero = TrailerBytes(0, 0);
  EXPECT_EQ(ParseTrailer(zero.data(), zero.size(), 1000).status, TrailerStatus::Corrupted);
  auto zeroInfo = TrailerBytes(0, 10);
  EXPECT_EQ(ParseTrailer(zeroInfo.data(), zeroInfo.size(), 1000).status, TrailerStatus::Corrupted);
  auto zeroProgram = TrailerBytes(10, 0);
  EXPECT_EQ(ParseTrailer(zeroProgram.data(), zeroProgram.size(), 1000).status, TrailerStatus::Corrupted);
  // Lengths reaching before the file's start.
  auto tooLong = TrailerBytes(500, 490);
  EXPECT_EQ(ParseTrailer(tooLong.data(), tooLong.size(), 1000).status, TrailerStatus::Corrupted);
  EXPECT_EQ(ParseTrailer(tooLong.data(), tooLong.size(), 1001).status, TrailerStatus::Ok);
  // Files too short for a trailer.
  const unsigned char eof[] = {'E', 'O', 'F'};
  EXPECT_EQ(ParseTrailer(eof, 3, 3).status, TrailerStatus::Corrupted);
  EXPECT_EQ(ParseTrailer(eof, 2, 2).status, TrailerStatus::NoEndMarker);
  EXPECT_EQ(ParseTrailer(eof, 0, 0).status, TrailerStatus::NoEndMarker);
}

TEST(FreeSpace, ExactlyEnoughAndOneByteShort) {
  const std::uint64_t a = 3000000000ull, b = 2500000000ull;  // sum beyond 32 bits
  EXPECT_TRUE(HasRoomFor(true, a + b, a + b));
  EXPECT_FALSE(HasRoomFor(true, a + b - 1, a + b));
  EXPECT_TRUE(HasRoomFor(true, a, a));
  EXPECT_FALSE(HasRoomFor(false, 1ull << 40, 1));  // a failed query counts as -1
  EXPECT_FALSE(HasRoomFor(false, 0, 0));
}

TEST(UniqueNames, WorkFolderNeverTakesAnExistingFolder) {
  std::set<std::string> existing = {"C:\\Temp\\5\\", "C:\\Temp\\17\\"};
  std::vector<std::string> tried;
  auto tryCreate = [&](const std::string& f) {
    tried.push_back(f);
    return existing.count(f) ? FolderAttempt::Exists : FolderAttempt::Created;
  };
  std::string folder;
  ASSERT_TRUE(CreateUniqueFolder("C:\\Temp", Sequence({5, 10000017, 42}), tryCreate, &folder));
  EXPECT_EQ(folder, "C:\\Temp\\42\\");
  EXPECT_EQ(tried, (std::vector<std::string>{"C:\\Temp\\5\\", "C:\\Temp\\17\\", "C:\\Temp\\42\\"}));

  // Numbers run 0 to 9,999,999.
  ASSERT_TRUE(CreateUniqueFolder("C:\\T\\", Sequence({9999999}), tryCreate, &folder));
  EXPECT_EQ(folder, "C:\\T\\9999999\\");
  ASSERT_TRUE(CreateUniqueFolder("C:\\T\\", Sequence({10000000}), tryCreate, &folder));
  EXPECT_EQ(folder, "C:\\T\\0\\");
}

TEST(UniqueNames, WorkFolderStopsWhenCreationFailsForAnotherReason) {
  int tries = 0;
  auto denied = [&](const std::string&) {
    ++tries;
    return FolderAttempt::Failed;
  };
  std::string folder;
  EXPECT_FALSE(CreateUniqueFolder("C:\\Locked\\", Sequence({7}), denied, &folder));
  EXPECT_EQ(folder, "C:\\Locked\\7\\");
  EXPECT_EQ(tries, 1);
}

TEST(UniqueNames, TempFilesSkipExistingNamesAndEachOther) {
  std::set<std::string> existing = {"W\\1.tmp", "W\\2.tmp"};
  auto exists = [&](const std::string& f) { return existing.count(f) > 0; };
  const auto random = Sequence({1, 2, 3, 100000003, 99999999});
  std::string info = PickTempFileName("W\\", random, exists);
  EXPECT_EQ(info, "W\\3.tmp");
  std::string program = PickTempFileName("W\\", random, exists, info);
  EXPECT_EQ(program, "W\\99999999.tmp");  // 100000003 wraps to 3, the info archive's name
}

TEST(EntryNames, WildcardMatching) {
  EXPECT_TRUE(MatchWildcard("*.*", "readme.txt"));
  EXPECT_TRUE(MatchWildcard("*.*", "Makefile"));  // read as "Makefile."
  EXPECT_TRUE(MatchWildcard("*.*", ""));
  EXPECT_TRUE(MatchWildcard("*.TXT", "a.txt"));
  EXPECT_TRUE(MatchWildcard("*.txt", "a.b.TXT"));
  EXPECT_FALSE(MatchWildcard("*.txt", "a.txt.bak"));
  EXPECT_TRUE(MatchWildcard("a*b*c.d", "aXXbYYbc.d"));
  EXPECT_FALSE(MatchWildcard("a*b*c.d", "aXXbYYb.d"));
  EXPECT_FALSE(MatchWildcard("a*c", "abc"));  // read as "abc."
  EXPECT_TRUE(MatchWildcard("*.", "noext"));
  EXPECT_FALSE(MatchWildcard("*.", "has.ext"));
  EXPECT_TRUE(MatchWildcard("*", "x"));
}

TEST(EntryNames, ConversionParts) {
  EXPECT_EQ(SlashesToBackslashes("Docs/sub/a.txt"), "Docs\\sub\\a.txt");
  EXPECT_EQ(FileNamePart("Docs\\sub\\a.txt"), "a.txt");
  EXPECT_EQ(FileNamePart("a.txt"), "a.txt");
  EXPECT_EQ(FileNamePart("Docs\\"), "");
  EXPECT_EQ(DropThroughDriveRoot("C:\\Windows\\a.dll"), "Windows\\a.dll");
  EXPECT_EQ(DropThroughDriveRoot("x\\C:\\y\\D:\\z"), "y\\D:\\z");  // only the first
  EXPECT_EQ(DropThroughDriveRoot("plain\\name"), "plain\\name");
}

TEST(EntryNames, WhichEntriesAreProcessed) {
  EXPECT_TRUE(ShouldProcessEntry("", "Docs\\a.txt", 10, false));
  EXPECT_FALSE(ShouldProcessEntry("*.ini", "Docs\\a.txt", 10, true));
  EXPECT_TRUE(ShouldProcessEntry("*.ini", "Docs\\", 0, true));  // folder entries with keepPaths 1
  EXPECT_TRUE(ShouldProcessEntry("*.ini", "empty.bin", 0, true));
  EXPECT_FALSE(ShouldProcessEntry("*.ini", "empty.bin", 0, false));
}

TEST(EntryNames, TargetsKeepOrDropFolders) {
  EntryTarget kept = ResolveEntryTarget("Docs\\a.txt", true);
  EXPECT_EQ(kept.kind, EntryKind::File);
  EXPECT_EQ(kept.relativePath, "Docs\\a.txt");
  EntryTarget flat = ResolveEntryTarget("Docs\\a.txt", false);
  EXPECT_EQ(flat.kind, EntryKind::File);
  EXPECT_EQ(flat.relativePath, "a.txt");
  EntryTarget folder = ResolveEntryTarget("Docs\\Sub\\", true);
  EXPECT_EQ(folder.kind, EntryKind::Folder);
  EXPECT_EQ(folder.relativePath, "Docs\\Sub\\");
  EXPECT_EQ(ResolveEntryTarget("Docs\\Sub\\", false).kind, EntryKind::Skip);
  EntryTarget absolute = ResolveEntryTarget("C:\\Program Files\\App\\x.exe", true);
  EXPECT_EQ(absolute.kind, EntryKind::File);
  EXPECT_EQ(absolute.relativePath, "Program Files\\App\\x.exe");
}

TEST(EntryNames, NamesThatWouldLeaveTheDestination) {
  const char* outside[] = {"..\\evil.txt", "Docs\\..\\..\\evil.txt", "a\\..",       "...\\x.txt",
                           ". .\\x.txt",   "\\\\server\\share\\x",  "C:relative.txt",
                           "x\\C:\\y\\D:\\z.txt", "a\\b:stream",  "..\\",         "C:\\..\\up.txt"};
  for (const char* name : outside)
    EXPECT_EQ(ResolveEntryTarget(name, true).kind, EntryKind::Refused) << name;
  // Without folders only the file name part counts.
  EXPECT_EQ(ResolveEntryTarget("..\\..\\fine.txt", false).kind, EntryKind::File);
  EXPECT_EQ(ResolveEntryTarget("a\\..", false).kind, EntryKind::Refused);
  EXPECT_EQ(ResolveEntryTarget("C:drive.txt", false).kind, EntryKind::Refused);
  // What Windows resolves inside stays inside: "." components, a leading "\\", doubled
  // separators (another ZIP writer's "./Config/Script.ini").
  const struct {
    const char* name;
    bool keepPaths;
    const char* relative;
  } inside[] = {{".\\Config\\Script.ini", true, "Config\\Script.ini"},
                {"\\rooted.txt", true, "rooted.txt"},
                {"Docs\\.\\\\a.txt", true, "Docs\\a.txt"},
                {".\\Docs\\", true, "Docs\\"},
                {".\\", true, ""},
                {".\\a.txt", false, "a.txt"}};
  for (const auto& row : inside) {
    const EntryTarget target = ResolveEntryTarget(row.name, row.keepPaths);
    EXPECT_NE(target.kind, EntryKind::Refused) << row.name;
    EXPECT_EQ(target.relativePath, row.relative) << row.name;
  }
  EXPECT_EQ(ResolveEntryTarget("a\\.", false).kind, EntryKind::Refused);
  // Names the file calls would read otherwise than the check: refused, kept paths or not.
  for (const std::string& name : {std::string("..\0", 3), std::string("..\0\\", 4), std::string(".\0", 2),
                                  std::string("a\r\n[InstTasks]\r\nx = REGADDKEY\\"), std::string("CON"),
                                  std::string("Docs\\lpt1.txt"), std::string("nul .log"), std::string("a<b.txt"),
                                  std::string("tab\there.txt"), std::string("what?.txt")}) {
    EXPECT_EQ(ResolveEntryTarget(name, true).kind, EntryKind::Refused) << name;
    const EntryKind flat = ResolveEntryTarget(name, false).kind;
    EXPECT_TRUE(flat == EntryKind::Refused || flat == EntryKind::Skip) << name;
  }
  EXPECT_EQ(ResolveEntryTarget("console.txt", true).kind, EntryKind::File);
  EXPECT_EQ(ResolveEntryTarget("COM10.txt", true).kind, EntryKind::File);
  // Dots inside names are fine.
  EXPECT_EQ(ResolveEntryTarget("a..b\\c...d.txt", true).kind, EntryKind::File);
  EXPECT_EQ(ResolveEntryTarget(".hidden\\.config", true).kind, EntryKind::File);
}
