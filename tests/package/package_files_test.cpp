// CopyFileRange, the language list and the removal of the work folder, on real files.
#include <gtest/gtest.h>

#include <algorithm>

#include "installer/install_session.h"
#include "installer/package/copy_file_range.h"
#include "installer/package/language_list.h"
#include "installer/package/package_layout.h"
#include "installer/work_folder.h"
#include "tests/support/test_support.h"

using namespace corvalis;
using namespace corvalis::testing;

namespace {

std::string Pattern(std::size_t bytes) {
  std::string data(bytes, '\0');
  for (std::size_t i = 0; i < bytes; ++i) data[i] = static_cast<char>((i * 131 + i / 7) & 0xFF);
  return data;
}

// Copies count bytes from offset of source into a new file; returns the percentages.
std::vector<int> Copy(const std::string& source, const std::string& target, std::int32_t offset, std::int32_t count) {
  std::vector<int> calls;
  HANDLE in = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  HANDLE out = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD error = 1;
  EXPECT_EQ(CopyFileRange(in, out, offset, count, [&](int percent) { calls.push_back(percent); return true; }, &error),
            CopyResult::Done);
  EXPECT_EQ(error, 0u);
  CloseHandle(in);
  CloseHandle(out);
  return calls;
}

}  // namespace

TEST(CopyFileRange, ChunksAndProgress) {
  ScratchFolder scratch("copy");
  const std::string source = scratch.path + "source.bin";
  const std::string data = Pattern(3 * kCopyChunkBytes + 20);
  ASSERT_TRUE(WriteFileText(source, data));

  // Three full chunks and a rest: 33, 66, 100.
  EXPECT_EQ(Copy(source, scratch.path + "a", 7, 3 * kCopyChunkBytes + 5), (std::vector<int>{33, 66, 100}));
  EXPECT_EQ(ReadWholeFile(scratch.path + "a"), data.substr(7, 3 * kCopyChunkBytes + 5));
  // Exactly one chunk: one call with 100.
  EXPECT_EQ(Copy(source, scratch.path + "b", 0, kCopyChunkBytes), (std::vector<int>{100}));
  EXPECT_EQ(ReadWholeFile(scratch.path + "b"), data.substr(0, kCopyChunkBytes));
  // Less than a chunk never reports.
  EXPECT_TRUE(Copy(source, scratch.path + "c", 11, kCopyChunkBytes - 1).empty());
  EXPECT_EQ(ReadWholeFile(scratch.path + "c"), data.substr(11, kCopyChunkBytes - 1));
  // Appends at the target's current position.
  HANDLE in = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  HANDLE out = CreateFileA((scratch.path + "d").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(out, "head", 4, &written, nullptr);
  DWORD error = 0;
  EXPECT_EQ(CopyFileRange(in, out, 100, 10, nullptr, &error), CopyResult::Done);
  // A source that ends early, or a target that takes nothing, is no copy; the system's
  // reason comes along for a write.
  EXPECT_EQ(CopyFileRange(in, out, static_cast<std::int32_t>(data.size()) - 5, 10, nullptr, &error), CopyResult::Failed);
  EXPECT_EQ(error, 0u);
  HANDLE readOnly = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(CopyFileRange(in, readOnly, 0, 10, nullptr, &error), CopyResult::Failed);
  EXPECT_NE(error, 0u);
  // The progress hook stops the copy after a chunk.
  EXPECT_EQ(CopyFileRange(in, out, 0, 2 * kCopyChunkBytes, [](int) { return false; }, &error), CopyResult::Stopped);
  CloseHandle(readOnly);
  CloseHandle(in);
  CloseHandle(out);
  EXPECT_EQ(ReadWholeFile(scratch.path + "d"), "head" + data.substr(100, 10) + data.substr(0, kCopyChunkBytes));
}

TEST(ListLanguages, UsableHeadersInAnyOrder) {
  ScratchFolder scratch("languages");
  const std::string& f = scratch.path;
  ASSERT_TRUE(WriteFileText(f + "English@ascii.ini",
                            "; comment\r\n[VLX Localization File] = \r\nLanguage = English\r\nAuthor = Ann\r\n"));
  ASSERT_TRUE(WriteFileText(f + "Other.INI", "[VLX Localization File]\nLanguage=English\n"));  // same name
  ASSERT_TRUE(WriteFileText(f + "Blank.ini", "[VLX Localization File]\r\nLanguage =    \r\nAuthor = x\r\n"));
  ASSERT_TRUE(WriteFileText(f + "NoGroup.ini", "[Other]\r\nLanguage = German\r\n"));
  ASSERT_TRUE(WriteFileText(f + "Utf8.ini", "\xEF\xBB\xBF[VLX Localization File]\r\nLanguage = Fran\xC3\xA7" "ais\r\n"));
  ASSERT_TRUE(WriteFileText(f + "notes.txt", "[VLX Localization File]\r\nLanguage = Text\r\n"));
  CreateDirectoryA((f + "folder.ini").c_str(), nullptr);

  std::vector<LanguageEntry> found = ListLanguages(f);
  std::vector<std::string> seen;
  for (const LanguageEntry& entry : found) seen.push_back(entry.Language + "|" + entry.Author + "|" + entry.Path);
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::string>{"English|Ann|" + f + "English@ascii.ini", "English||" + f + "Other.INI",
                                            "Fran\xE7" "ais||" + f + "Utf8.ini"}));
  EXPECT_TRUE(ListLanguages(f + "missing\\").empty());
}

TEST(RemoveWorkFolder, RemovesEverythingIncludingReadOnlyFiles) {
  ScratchFolder scratch("remove");
  const std::string work = scratch.path + "1234567\\";
  CreateDirectoryA(work.c_str(), nullptr);
  CreateDirectoryA((work + "Information").c_str(), nullptr);
  CreateDirectoryA((work + "Information\\Config").c_str(), nullptr);
  ASSERT_TRUE(WriteFileText(work + "Information\\Config\\Script.ini", "x"));
  ASSERT_TRUE(WriteFileText(work + "42.tmp", "y"));
  SetFileAttributesA((work + "42.tmp").c_str(), FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA((work + "Information\\Config").c_str(), FILE_ATTRIBUTE_READONLY);

  InstallSession session;
  RemoveWorkFolder(session);  // nothing set: nothing happens
  EXPECT_TRUE(Exists(work + "42.tmp"));

  session.WorkFolder = work;
  RemoveWorkFolder(session);
  EXPECT_FALSE(Exists(work));
  EXPECT_TRUE(IsFolder(scratch.path));
}
