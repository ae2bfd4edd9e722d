// DownloadFile against the local test server (http_test_server.py, which starts this
// program and names its folder in CORVALIS_HTTP_ROOT); the robot answers the message box.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "common/whole_file.h"
#include "installer/engine/http_download.h"
#include "tools/winrobot/winrobot.h"

namespace {

constexpr int kBoxWaitMs = 30000;

// What the progress callback saw: the percentages and the file's size on disk at each call.
struct ProgressLog {
  std::vector<float> percents;
  std::vector<std::uint64_t> sizesOnDisk;
  int stopAtCall = 0;  // 0: never stop
};
ProgressLog g_log;

std::uint64_t SizeOnDisk(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return UINT64_MAX;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int RecordProgress(const std::string& savePath, float percent) {
  g_log.percents.push_back(percent);
  g_log.sizesOnDisk.push_back(SizeOnDisk(savePath));
  return static_cast<int>(g_log.percents.size()) == g_log.stopAtCall ? 1 : 0;
}

struct DownloadRun {
  int result = -1;
  std::string boxText;  // empty when no box with the destination as its title came
  std::vector<std::string> boxButtons;
  bool boxIcon = false;
};

DownloadRun Download(const std::string& savePath, const std::string& url, int stopAtCall = 0) {
  g_log = ProgressLog{};
  g_log.stopAtCall = stopAtCall;
  DownloadRun run;
  std::thread robot([&] {
    HWND box = winrobot::WaitForMessageBox(GetCurrentProcessId(), savePath, kBoxWaitMs);
    if (!box) return;
    run.boxText = winrobot::MessageBoxText(box);
    for (const winrobot::ControlInfo& c : winrobot::ListControls(box)) {
      if (!c.visible) continue;
      if (c.className == "Button") run.boxButtons.push_back(c.text);
      DWORD_PTR icon = 0;
      if (c.className == "Static" &&
          SendMessageTimeoutA(c.hwnd, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon) && icon) {
        run.boxIcon = true;
      }
    }
    winrobot::AnswerMessageBox(box, "OK");
  });
  run.result = corvalis::DownloadFile(savePath, url, RecordProgress);
  robot.join();
  return run;
}

std::string RandomBytes(std::size_t count, unsigned seed) {
  std::string bytes(count, '\0');
  for (auto& b : bytes) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<char>(seed >> 16);
  }
  return bytes;
}

std::string ReadAll(const std::string& path) {
  std::string bytes;
  corvalis::ReadWholeFile(path, 1u << 30, &bytes);
  return bytes;
}

class DownloadTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* root = std::getenv("CORVALIS_HTTP_ROOT");
    ASSERT_NE(root, nullptr) << "run through http_test_server.py";
    served_ = winrobot::UnixToWindowsPath(root) + "\\";
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    destination_ = std::string(temp) + "corvalis_download_test\\";
    CreateDirectoryA(destination_.c_str(), nullptr);
  }

  // A file the server offers under that name.
  static std::string Serve(const std::string& name, std::size_t size, unsigned seed) {
    std::string bytes = RandomBytes(size, seed);
    HANDLE f = CreateFileA((served_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    EXPECT_NE(f, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    CloseHandle(f);
    return bytes;
  }

  static std::string served_;
  static std::string destination_;
};
std::string DownloadTest::served_;
std::string DownloadTest::destination_;

TEST_F(DownloadTest, FileWithItsSizeArrivesPieceByPiece) {
  const std::string bytes = Serve("ten_thousand.bin", 10000, 1);
  for (std::string path : {"ten_thousand.bin", "slow/ten_thousand.bin"}) {
    SCOPED_TRACE(path);
    const std::string url = "http://127.0.0.1/" + path;
    const std::string save = destination_ + "sized.bin";
    DownloadRun run = Download(save, url);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.boxText, url);
    EXPECT_EQ(run.boxButtons, std::vector<std::string>{"OK"});
    EXPECT_FALSE(run.boxIcon);
    ASSERT_EQ(g_log.percents.size(), 3u);
    EXPECT_FLOAT_EQ(g_log.percents[0], 40.96f);
    EXPECT_FLOAT_EQ(g_log.percents[1], 81.92f);
    EXPECT_FLOAT_EQ(g_log.percents[2], 100.0f);
    // Each piece is on disk before the next one is read.
    EXPECT_EQ(g_log.sizesOnDisk, (std::vector<std::uint64_t>{0, 4096, 8192}));
    EXPECT_TRUE(ReadAll(save) == bytes);
  }
}

TEST_F(DownloadTest, WithoutASizePiecesAreCounted) {
  // 102 full pieces and a short one: the count passes 99 and starts again at 0.
  const std::string bytes = Serve("counted.bin", 102 * 4096 + 5, 2);
  const std::string small = Serve("index.bin", 5000, 3);
  struct Case {
    std::string url;
    const std::string* expected;
  } cases[] = {
      {"http://127.0.0.1/chunked/counted.bin", &bytes},  // HEAD without a size
      {"http://127.0.0.1/nohead/counted.bin", &bytes},   // HEAD answers 404
      {"http://127.0.0.1", &small},                      // no "/" after the host: no probe
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    const std::string save = destination_ + "counted.bin";
    DownloadRun run = Download(save, c.url);
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(run.boxText, c.url);
    EXPECT_GE(g_log.percents.size(), (c.expected->size() + 4095) / 4096);
    for (std::size_t i = 0; i < g_log.percents.size(); ++i) {
      ASSERT_EQ(g_log.percents[i], static_cast<float>((i + 1) % 100)) << "call " << i + 1;
    }
    EXPECT_TRUE(ReadAll(save) == *c.expected);
  }
}

TEST_F(DownloadTest, MoreBytesThanAnnouncedStopAtOneHundred) {
  const std::string bytes = Serve("overlong.bin", 10000, 4);
  const std::string save = destination_ + "overlong.bin";
  DownloadRun run = Download(save, "http://127.0.0.1/overlong/overlong.bin");
  EXPECT_EQ(run.result, 1);
  ASSERT_EQ(g_log.percents.size(), 3u);
  EXPECT_FLOAT_EQ(g_log.percents[0], 81.92f);
  EXPECT_FLOAT_EQ(g_log.percents[1], 100.0f);
  EXPECT_FLOAT_EQ(g_log.percents[2], 100.0f);
  EXPECT_TRUE(ReadAll(save) == bytes);
}

TEST_F(DownloadTest, CallbackStopsTheDownload) {
  const std::string bytes = Serve("stopped.bin", 10000, 5);
  const std::string save = destination_ + "stopped.bin";
  DownloadRun run = Download(save, "http://127.0.0.1/stopped.bin", 2);
  EXPECT_EQ(run.result, 0);
  EXPECT_EQ(g_log.percents.size(), 2u);
  // The piece that the callback refused is not written; the one before stays.
  EXPECT_TRUE(ReadAll(save) == bytes.substr(0, 4096));
}

TEST_F(DownloadTest, FailuresReturnZeroAndKeepWhatArrived) {
  const std::string bytes = Serve("broken.bin", 3 * 4096 + 100, 6);
  const std::string half = bytes.substr(0, bytes.size() / 2);
  const std::string missing = "(no file)";
  struct Case {
    std::string save;
    std::string url;
    std::string expectedFile;
  } cases[] = {
      {destination_ + "no such folder\\x.bin", "http://127.0.0.1/broken.bin", missing},
      {destination_ + "unreachable.bin", "http://127.0.0.1:1/broken.bin", ""},
      {destination_ + "cut.bin", "http://127.0.0.1/cut/broken.bin", half},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url + " -> " + c.save);
    DownloadRun run = Download(c.save, c.url);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(run.boxText, c.url);
    if (c.expectedFile == missing) {
      EXPECT_EQ(GetFileAttributesA(c.save.c_str()), INVALID_FILE_ATTRIBUTES);
      EXPECT_TRUE(g_log.percents.empty());
    } else {
      EXPECT_NE(GetFileAttributesA(c.save.c_str()), INVALID_FILE_ATTRIBUTES);
      EXPECT_TRUE(ReadAll(c.save) == c.expectedFile) << ReadAll(c.save).size() << " bytes on disk";
    }
  }
}

// Error pages are no download: nothing is written, and a file that was there stays. A
// redirect to the file is followed.
TEST_F(DownloadTest, ErrorAnswersSaveNothing) {
  const std::string bytes = Serve("answered.bin", 5000, 7);
  for (const char* url : {"http://127.0.0.1/gone.bin", "http://127.0.0.1/status500/answered.bin"}) {
    SCOPED_TRACE(url);
    const std::string save = destination_ + "error_page.bin";
    DeleteFileA(save.c_str());
    EXPECT_EQ(Download(save, url).result, 0);
    EXPECT_EQ(GetFileAttributesA(save.c_str()), INVALID_FILE_ATTRIBUTES);
    HANDLE earlier = CreateFileA(save.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(earlier);
    EXPECT_EQ(Download(save, url).result, 0);
    EXPECT_NE(GetFileAttributesA(save.c_str()), INVALID_FILE_ATTRIBUTES) << "an earlier file stays";
  }
  const std::string save = destination_ + "redirected.bin";
  EXPECT_EQ(Download(save, "http://127.0.0.1/redirect/answered.bin").result, 1);
  EXPECT_TRUE(ReadAll(save) == bytes);
}

}  // namespace
