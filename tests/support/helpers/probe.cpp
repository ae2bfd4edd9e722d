// Runs engine operations in a process of its own, so that a test can start it under
// another Windows version (Wine reads the version per program name at start) and read
// what it found from a file:
//   probe folders <out> <os code> <install path> <group path>
//   probe associate <out> <ext> <description> <program> <icon>
//   probe disassociate <out> <ext> <app>
//   probe shutdown <out> <flags>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/operations_settings.h"
#include "common/path_variables.h"
#include "common/special_folders.h"
#include "common/system_operations.h"

namespace {

UINT recordedFlags = 0;
BOOL WINAPI RecordExit(UINT flags, DWORD) {
  recordedFlags = flags;
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace corvalis;
  if (argc < 3) return 2;
  const std::string command = argv[1];
  std::string out = "version=" + std::to_string((GetVersion() >> 16) & 0xFF) + "\n";
  if (command == "folders" && argc == 6) {
    PathContext context;
    context.Folders = &SystemFolders();
    context.OsVersionCode = std::atoi(argv[3]);
    context.InstallPath = argv[4];
    context.StartMenuGroupPath = argv[5];
    for (int code = 0; code < kPathVariableCount; ++code) {
      out += std::to_string(code) + "=" + PathVariableFolder(code, context) + "\n";
    }
  } else if (command == "associate" && argc == 7) {
    out += "result=" + std::to_string(AssociateExtension(argv[3], argv[4], argv[5], argv[6])) + "\n";
  } else if (command == "disassociate" && argc == 5) {
    out += "result=" + std::to_string(DisassociateExtension(argv[3], argv[4])) + "\n";
  } else if (command == "shutdown" && argc == 4) {
    OperationsSettings recording;
    recording.ExitWindows = RecordExit;
    SetOperations(recording);
    const int result = ShutdownWindows(static_cast<UINT>(std::atoi(argv[3])));
    out += "result=" + std::to_string(result) + "\nflags=" + std::to_string(recordedFlags) + "\n";
  } else {
    return 2;
  }
  FILE* file = std::fopen(argv[2], "wb");
  if (!file) return 3;
  std::fwrite(out.data(), 1, out.size(), file);
  std::fclose(file);
  return 0;
}
