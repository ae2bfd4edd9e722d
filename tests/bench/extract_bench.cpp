// Times ExtractArchive on one archive: extract_bench <archive.zip> <destination\>
// Prints the seconds spent and the number of entries reported by the progress hook.
#include <windows.h>

#include <cstdio>
#include <string>

#include "installer/package/extract_archive.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: extract_bench <archive.zip> <destination folder>\n");
    return 2;
  }
  long entries = 0;
  corvalis::SetExtractProgressHook([&entries](const std::string& name, float) { entries += !name.empty(); });
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  corvalis::ExtractArchive(argv[1], "*.*", argv[2], 1);
  QueryPerformanceCounter(&end);
  double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
  std::printf("ExtractArchive: %.3f s, %ld entries\n", seconds, entries);
  return entries > 0 ? 0 : 1;
}
