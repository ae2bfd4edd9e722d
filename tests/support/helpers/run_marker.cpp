// Stands in for a program that a task runs: each run leaves a file of its own in the
// folder it is given (run0.txt, run1.txt, ...), so that runs overlapping in time are all
// counted; appending to one file from two processes may lose a line.
#include <windows.h>

#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  for (int n = 0; n < 1000; ++n) {
    const std::string path = std::string(argv[1]) + "\\run" + std::to_string(n) + ".txt";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      CloseHandle(file);
      return 0;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return 1;
  }
  return 1;
}
