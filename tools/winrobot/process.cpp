#include <cstdlib>
#include <vector>

#include "tools/winrobot/robot_internal.h"
#include "tools/winrobot/winrobot.h"

namespace winrobot {

bool StartProcess(const std::string& commandLine, Process* out, const std::string& workingDir) {
  ClearError();
  *out = Process();
  std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingDir.empty() ? nullptr : workingDir.c_str(), &startup, &info)) {
    return Fail("could not start " + Quote(commandLine) + " (error " + std::to_string(GetLastError()) + ")");
  }
  CloseHandle(info.hThread);
  out->handle = info.hProcess;
  out->pid = info.dwProcessId;
  return true;
}

bool WaitProcess(const Process& p, int timeoutMs, DWORD* exitCode) {
  ClearError();
  if (p.handle == nullptr) return Fail("no process");
  DWORD waited = WaitForSingleObject(p.handle, static_cast<DWORD>(timeoutMs));
  if (waited != WAIT_OBJECT_0) {
    return Fail("process " + std::to_string(p.pid) + " still runs after " + std::to_string(timeoutMs) + " ms");
  }
  DWORD code = 0;
  GetExitCodeProcess(p.handle, &code);
  if (exitCode != nullptr) *exitCode = code;
  return true;
}

std::string DistFilePath(const std::string& fileName) {
  ClearError();
  const char* dist = std::getenv("CORVALIS_DIST");
  if (dist == nullptr || *dist == '\0') {
    Fail("CORVALIS_DIST is not set; ctest sets it to the dist folder");
    return "";
  }
  std::string folder = UnixToWindowsPath(dist);
  if (folder.back() != '\\') folder += '\\';
  return folder + fileName;
}

void KillProcess(const Process& p) {
  if (p.handle == nullptr) return;
  if (WaitForSingleObject(p.handle, 0) == WAIT_TIMEOUT) {
    TerminateProcess(p.handle, 1);
    WaitForSingleObject(p.handle, 5000);
  }
  CloseHandle(p.handle);
}

}  // namespace winrobot
