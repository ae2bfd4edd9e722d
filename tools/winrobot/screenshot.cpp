#include <string>

#include "tools/winrobot/robot_internal.h"
#include "tools/winrobot/winrobot.h"

namespace winrobot {

bool SaveScreenshot(const std::string& unixPngPath, int timeoutMs, HWND window) {
  if (unixPngPath.find('\'') != std::string::npos) return Fail("no quotes in a screenshot path");
  const std::string target = UnixToWindowsPath(unixPngPath);
  const std::string partial = unixPngPath + ".part";
  DeleteFileA(target.c_str());
  // Wine starts Linux programs but gives no handle to wait on: the picture is written
  // under another name and renamed, so that its arrival means it is complete.
  std::string crop;
  RECT area;
  POINT origin = {0, 0};
  if (window && GetClientRect(window, &area) && ClientToScreen(window, &origin)) {
    crop = " -crop " + std::to_string(area.right) + "x" + std::to_string(area.bottom) + "+" +
           std::to_string(origin.x) + "+" + std::to_string(origin.y) + " +repage";
  }
  const std::string command = "/bin/sh -c \"import -window root" + crop + " png:'" + partial + "' && mv '" + partial +
                              "' '" + unixPngPath + "'\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  std::string line = command;
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    return Fail("can't start ImageMagick's import");
  }
  if (started.hProcess) CloseHandle(started.hProcess);
  if (started.hThread) CloseHandle(started.hThread);
  for (int waited = 0; waited < timeoutMs; waited += kPollIntervalMs) {
    if (GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    Sleep(kPollIntervalMs);
  }
  return Fail("no screenshot at " + unixPngPath);
}

}  // namespace winrobot
