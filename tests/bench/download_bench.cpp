// Times DownloadFile of one file, twice, and reports the process's peak memory around it.
//   download_bench.exe <warm-up url> <url> <destination>
// The warm-up download loads WinINet and sets up its state, so the figures before the
// big download already include them.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <thread>

#include "installer/engine/http_download.h"
#include "tools/winrobot/winrobot.h"

namespace {

unsigned long g_pieces = 0;

int CountPiece(const std::string&, float) {
  ++g_pieces;
  return 0;
}

// The robot answers the message box that every download shows first.
int Download(const std::string& save, const std::string& url) {
  std::thread robot([&] {
    if (HWND box = winrobot::WaitForMessageBox(GetCurrentProcessId(), save, 30000)) {
      winrobot::AnswerMessageBox(box, "OK");
    }
  });
  int result = corvalis::DownloadFile(save, url, CountPiece);
  robot.join();
  return result;
}

PROCESS_MEMORY_COUNTERS Memory() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters;
}

void PrintPeaks(const char* when, const PROCESS_MEMORY_COUNTERS& counters) {
  std::printf("%-22s peak working set %6lu KiB, peak private bytes %6lu KiB\n", when,
              static_cast<unsigned long>(counters.PeakWorkingSetSize / 1024),
              static_cast<unsigned long>(counters.PeakPagefileUsage / 1024));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: download_bench <warm-up url> <url> <destination>\n");
    return 2;
  }
  if (Download(std::string(argv[3]) + ".warm", argv[1]) != 1) {
    std::fprintf(stderr, "warm-up download failed\n");
    return 1;
  }
  PrintPeaks("before:", Memory());
  // Twice: the second run shows whether anything grows with the amount downloaded.
  int failures = 0;
  for (int round = 1; round <= 2; ++round) {
    g_pieces = 0;
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    int result = Download(argv[3], argv[2]);
    QueryPerformanceCounter(&end);
    if (result != 1) ++failures;
    std::printf("download %d: result %d, %lu pieces, %.2f s\n", round, result, g_pieces,
                static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart));
    PrintPeaks(round == 1 ? "after download 1:" : "after download 2:", Memory());
  }
  return failures == 0 ? 0 : 1;
}
