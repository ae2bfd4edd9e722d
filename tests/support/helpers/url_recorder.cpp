// Stands in for the web browser in end-to-end tests: registered as the http
// handler with "<recorder> <log file> %1", it appends the address it was given to
// the log file, one line per call.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args || count < 3) return 1;
  auto narrow = [](LPCWSTR text) {
    char buffer[4096] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return std::string(buffer);
  };
  const std::string log = narrow(args[1]);
  std::string address = narrow(args[2]);
  for (int i = 3; i < count; ++i) address += " " + narrow(args[i]);
  LocalFree(args);
  if (std::FILE* file = std::fopen(log.c_str(), "ab")) {
    std::fprintf(file, "%s\n", address.c_str());
    std::fclose(file);
  }
  return 0;
}
