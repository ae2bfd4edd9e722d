// ExtractArchive on archives made here: folders, names, dates, attributes, the progress
// hook and names that try to leave the destination.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "installer/package/extract_archive.h"
#include "tests/support/test_support.h"
#include "tools/winrobot/unix_path.h"

using namespace corvalis;
using namespace corvalis::testing;

namespace {

constexpr unsigned long kDate = 0x4ECF6DDD;  // 2019-06-15 13:46:58 local time

std::vector<ZipEntryInput> SampleEntries() {
  return {
      {"Docs/", "", kDate, 0x10},
      {"Docs/a.txt", "alpha", kDate, 0x21},  // read-only + archive
      {"Empty/", "", kDate, 0x10},
      {"zero.bin", "", kDate, 0x22},  // hidden + archive
      {"Deep/er/x.txt", "deep", kDate, 0x20},
      {"\x81" "ber.txt", "oem", kDate, 0x20},  // u-umlaut in code page 437
  };
}

SYSTEMTIME LocalWriteTime(const std::string& path) {
  SYSTEMTIME local = {};
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  FILETIME written, localTime;
  if (file != INVALID_HANDLE_VALUE && GetFileTime(file, nullptr, nullptr, &written) &&
      FileTimeToLocalFileTime(&written, &localTime))
    FileTimeToSystemTime(&localTime, &local);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  return local;
}

void ExpectStamped(const std::string& path, DWORD attributes) {
  SYSTEMTIME t = LocalWriteTime(path);
  EXPECT_EQ(t.wYear, 2019) << path;
  EXPECT_EQ(t.wMonth, 6) << path;
  EXPECT_EQ(t.wDay, 15) << path;
  EXPECT_EQ(t.wHour, 13) << path;
  EXPECT_EQ(t.wMinute, 46) << path;
  EXPECT_EQ(t.wSecond, 0) << path;  // to the minute
  EXPECT_EQ(GetFileAttributesA(path.c_str()), attributes) << path;
}

struct HookCall {
  std::string name;
  float percent;
  bool operator==(const HookCall& o) const { return name == o.name && percent == o.percent; }
};

std::ostream& operator<<(std::ostream& out, const HookCall& call) {
  return out << "(\"" << call.name << "\", " << call.percent << ")";
}

class RecordingHook {
 public:
  RecordingHook() {
    SetExtractProgressHook([this](const std::string& name, float percent) { calls.push_back({name, percent}); });
  }
  ~RecordingHook() { SetExtractProgressHook(nullptr); }
  std::vector<HookCall> calls;
};

}  // namespace

TEST(ExtractArchive, KeepPathsRecreatesFoldersNamesDatesAndAttributes) {
  ScratchFolder scratch("keep");
  const std::string archive = scratch.path + "sample.zip";
  ASSERT_TRUE(WriteZip(archive, SampleEntries()));
  const std::string destination = scratch.path + "out\\nested";  // missing, without "\"
  ExtractArchive(archive, "*.*", destination, 1);

  const std::string d = destination + "\\";
  EXPECT_TRUE(IsFolder(d + "Docs"));
  EXPECT_TRUE(IsFolder(d + "Empty"));
  EXPECT_EQ(ReadWholeFile(d + "Docs\\a.txt"), "alpha");
  ExpectStamped(d + "Docs\\a.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_TRUE(Exists(d + "zero.bin"));
  EXPECT_EQ(ReadWholeFile(d + "zero.bin"), "");
  ExpectStamped(d + "zero.bin", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(ReadWholeFile(d + "Deep\\er\\x.txt"), "deep");
  EXPECT_EQ(ReadWholeFile(d + "\xFC" "ber.txt"), "oem");  // u-umlaut in code page 1252
}

TEST(ExtractArchive, WithoutPathsEveryFileGoesStraightIntoTheDestination) {
  ScratchFolder scratch("flat");
  const std::string archive = scratch.path + "sample.zip";
  ASSERT_TRUE(WriteZip(archive, SampleEntries()));
  const std::string d = scratch.path + "out\\";
  ExtractArchive(archive, "", d, 0);

  EXPECT_EQ(ReadWholeFile(d + "a.txt"), "alpha");
  ExpectStamped(d + "a.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(ReadWholeFile(d + "x.txt"), "deep");
  EXPECT_TRUE(Exists(d + "zero.bin"));
  EXPECT_FALSE(Exists(d + "Docs"));
  EXPECT_FALSE(Exists(d + "Empty"));
  EXPECT_FALSE(Exists(d + "Deep"));
}

TEST(ExtractArchive, PatternAndZeroLengthEntries) {
  ScratchFolder scratch("pattern");
  const std::string archive = scratch.path + "sample.zip";
  ASSERT_TRUE(WriteZip(archive, SampleEntries()));

  ExtractArchive(archive, "*.TXT", scratch.path + "kept\\", 1);
  EXPECT_TRUE(Exists(scratch.path + "kept\\Docs\\a.txt"));
  EXPECT_TRUE(IsFolder(scratch.path + "kept\\Empty"));
  EXPECT_TRUE(Exists(scratch.path + "kept\\zero.bin"));  // no data: processed with keepPaths 1

  ExtractArchive(archive, "*.txt", scratch.path + "flat\\", 0);
  EXPECT_TRUE(Exists(scratch.path + "flat\\a.txt"));
  EXPECT_FALSE(Exists(scratch.path + "flat\\zero.bin"));
}

TEST(ExtractArchive, OverwritesAndLeavesUnopenableArchivesAlone) {
  ScratchFolder scratch("overwrite");
  const std::string archive = scratch.path + "one.zip";
  // Read-only, hidden and system files of an earlier installation are replaced too.
  const struct {
    const char* name;
    DWORD attributes;
  } earlier[] = {{"f.txt", FILE_ATTRIBUTE_NORMAL},
                 {"ro.txt", FILE_ATTRIBUTE_READONLY},
                 {"hid.txt", FILE_ATTRIBUTE_HIDDEN},
                 {"sys.txt", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY}};
  std::vector<ZipEntryInput> entries;
  for (const auto& file : earlier) {
    entries.push_back({file.name, "new", kDate, 0x20});
    const std::string path = scratch.path + file.name;
    ASSERT_TRUE(WriteFileText(path, "old and longer"));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), file.attributes));
  }
  ASSERT_TRUE(WriteZip(archive, entries));
  ExtractArchive(archive, "*.*", scratch.path, 1);
  for (const auto& file : earlier) {
    const std::string path = scratch.path + file.name;
    EXPECT_EQ(ReadWholeFile(path), "new") << file.name;
    EXPECT_EQ(GetFileAttributesA(path.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE)) << file.name;
  }

  RecordingHook hook;
  ASSERT_TRUE(WriteFileText(scratch.path + "not.zip", "not an archive"));
  ExtractArchive(scratch.path + "not.zip", "*.*", scratch.path + "never\\", 1);
  ExtractArchive(scratch.path + "missing.zip", "*.*", scratch.path + "never\\", 1);
  EXPECT_FALSE(Exists(scratch.path + "never"));
  EXPECT_TRUE(hook.calls.empty());
}

TEST(ExtractArchive, ProgressHookSequence) {
  ScratchFolder scratch("hook");
  const std::string archive = scratch.path + "hook.zip";
  ASSERT_TRUE(WriteZip(archive, {{"Docs/", "", kDate, 0x10},
                                 {"Docs/a.txt", "a", kDate, 0x20},
                                 {"skip.dat", "s", kDate, 0x20},
                                 {"../up.txt", "u", kDate, 0x20},
                                 {"../up.dat", "u", kDate, 0x20},
                                 {"\x81.txt", "o", kDate, 0x20}}));
  RecordingHook hook;
  ExtractArchive(archive, "*.txt", scratch.path + "out\\", 1);
  auto share = [](int gone) { return 100.0f * static_cast<float>(gone) / 6.0f; };
  std::vector<HookCall> expected = {
      {"Docs\\", share(1)}, {"Docs\\a.txt", share(2)}, {"skip.dat", share(3)},  // not matched, still reported
      {"", share(4)}, {"", share(5)},  // left the destination, matched or not
      {"\xFC.txt", 100.0f}, {"", 100.0f},
  };
  EXPECT_EQ(hook.calls, expected);

  // Removing the hook stops the calls.
  SetExtractProgressHook(nullptr);
  hook.calls.clear();
  ExtractArchive(archive, "*.*", scratch.path + "quiet\\", 1);
  EXPECT_TRUE(hook.calls.empty());
  EXPECT_TRUE(Exists(scratch.path + "quiet\\Docs\\a.txt"));
}

TEST(ExtractArchive, EntriesThatTryToLeaveTheDestinationAreSkipped) {
  ScratchFolder scratch("escape");
  const std::string archive = scratch.path + "escape.zip";
  const std::string sandbox = scratch.path + "sandbox\\";
  const std::string d = sandbox + "dest\\";
  CreateDirectoryA(sandbox.c_str(), nullptr);
  ASSERT_TRUE(WriteZip(archive, {{"../evil1.txt", "x", kDate, 0x20},
                                 {"Docs/../../evil2.txt", "x", kDate, 0x20},
                                 {"..\\evil3.txt", "x", kDate, 0x20},
                                 {".../evil4.txt", "x", kDate, 0x20},
                                 {"C:/../evil5.txt", "x", kDate, 0x20},
                                 {"a:/C:/evil6.txt", "x", kDate, 0x20},
                                 {"//server/share/evil7.txt", "x", kDate, 0x20},
                                 {"C:evil8.txt", "x", kDate, 0x20},
                                 {"C:/Program Files/App/kept.txt", "kept", kDate, 0x20},
                                 {"./Cfg/./dot.txt", "dot", kDate, 0x20},
                                 {"/rooted.txt", "rooted", kDate, 0x20},
                                 {"ok.txt", "ok", kDate, 0x20}}));
  ExtractArchive(archive, "*.*", d, 1);
  EXPECT_EQ(ReadWholeFile(d + "ok.txt"), "ok");
  EXPECT_EQ(ReadWholeFile(d + "Program Files\\App\\kept.txt"), "kept");  // the ":\" rule stands
  EXPECT_EQ(ReadWholeFile(d + "Cfg\\dot.txt"), "dot");  // Windows resolves "." and a leading "/"
  EXPECT_EQ(ReadWholeFile(d + "rooted.txt"), "rooted");

  // Nothing beside the destination, and in it only what belongs there.
  std::vector<std::string> inSandbox, inDestination;
  WIN32_FIND_DATAA found;
  for (auto* list : {&inSandbox, &inDestination}) {
    HANDLE search = FindFirstFileA(((list == &inSandbox ? sandbox : d) + "*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
      std::string name = found.cFileName;
      if (name != "." && name != "..") list->push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  EXPECT_EQ(inSandbox, std::vector<std::string>{"dest"});
  std::sort(inDestination.begin(), inDestination.end());
  EXPECT_EQ(inDestination, (std::vector<std::string>{"Cfg", "Program Files", "ok.txt", "rooted.txt"}));
  for (int i = 1; i <= 8; ++i) EXPECT_FALSE(Exists(scratch.path + "evil" + std::to_string(i) + ".txt"));
  EXPECT_FALSE(Exists("C:\\evil6.txt"));

  // Without folders the file name part alone is used, which can't climb.
  ExtractArchive(archive, "*.*", scratch.path + "flat\\", 0);
  EXPECT_EQ(ReadWholeFile(scratch.path + "flat\\evil1.txt"), "x");
}

// Part of a file would pass for the whole one: a damaged entry is asked about, removed
// and never reported; the entries after it go on when the hook skips it.
TEST(ExtractArchive, DamagedEntryIsNeitherLeftNorReported) {
  ScratchFolder scratch("damaged");
  const std::string archive = scratch.path + "damaged.zip";
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "line " + std::to_string(i) + "\r\n";
  ASSERT_TRUE(WriteZip(archive, {{"bad.txt", text, kDate, 0x23}, {"good.txt", "fine", kDate, 0x21}}));
  // Flip a byte inside the first entry's compressed data (local header 30 bytes + name).
  std::string bytes = ReadWholeFile(archive);
  bytes[30 + 7 + 40] = static_cast<char>(bytes[30 + 7 + 40] ^ 0x55);
  ASSERT_TRUE(WriteFileText(archive, bytes));

  std::vector<std::string> asked, reported;
  SetExtractFailureHook([&](const std::string& path, unsigned long error) {
    asked.push_back(path + " " + std::to_string(error));
    return WriteFailure::Skip;
  });
  SetExtractProgressHook([&](const std::string& name, float) { reported.push_back(name); });
  ExtractArchive(archive, "*.*", scratch.path + "out\\", 1);
  SetExtractFailureHook(nullptr);
  SetExtractProgressHook(nullptr);
  EXPECT_EQ(asked, std::vector<std::string>{scratch.path + "out\\bad.txt " + std::to_string(kDamagedEntryError)});
  EXPECT_EQ(reported, (std::vector<std::string>{"", "good.txt", ""}));
  EXPECT_FALSE(Exists(scratch.path + "out\\bad.txt"));
  ExpectStamped(scratch.path + "out\\good.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
}

// A 7z archive stored against name order, in blocks, behind the x86 filter: unpacked in name
// order all the same, every file whole (each passes its CRC), the blocks decoded again as
// needed.
TEST(ExtractArchive, SolidArchiveInAnyOrder) {
  const char* data = std::getenv("CORVALIS_TEST_DATA");
  ASSERT_NE(data, nullptr);
  const std::string sample = winrobot::UnixToWindowsPath(std::string(data) + "/package/solid_sample/");
  ScratchFolder scratch("solid_order");
  std::vector<std::string> reported, asked;
  SetExtractProgressHook([&](const std::string& name, float) { reported.push_back(name); });
  SetExtractFailureHook([&](const std::string& path, unsigned long) {
    asked.push_back(path);
    return WriteFailure::Skip;
  });
  ExtractArchive(sample + "sample.7z", "*.*", scratch.path, 1);
  SetExtractProgressHook(nullptr);
  SetExtractFailureHook(nullptr);
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(reported, (std::vector<std::string>{"Sub\\Empty\\", "Sub\\d_small.txt", "Sub\\e_random.bin",
                                                "a_random.bin", "b_text.txt", "c_empty.txt", ""}));
  for (const char* name : {"a_random.bin", "b_text.txt", "c_empty.txt", "Sub\\d_small.txt", "Sub\\e_random.bin"}) {
    EXPECT_TRUE(ReadWholeFile(scratch.path + name) == ReadWholeFile(sample + "files\\" + name)) << name;
  }
}
