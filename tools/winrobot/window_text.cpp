#include <vector>

#include "tools/winrobot/robot_internal.h"
#include "tools/winrobot/winrobot.h"

namespace winrobot {
namespace {

thread_local std::string lastError;

}  // namespace

bool Fail(const std::string& reason) {
  lastError = reason;
  return false;
}

void ClearError() { lastError.clear(); }

std::string LastError() { return lastError; }

std::string ReadText(HWND w, bool* responsive) {
  if (responsive == nullptr || *responsive) {
    DWORD_PTR length = 0;
    if (SendWithTimeout(w, WM_GETTEXTLENGTH, 0, 0, &length)) {
      std::vector<char> buffer(length + 2, '\0');
      DWORD_PTR copied = 0;
      if (SendWithTimeout(w, WM_GETTEXT, buffer.size(), 0, &copied, &buffer)) {
        return std::string(buffer.data(), copied < buffer.size() ? copied : buffer.size() - 1);
      }
    }
    if (responsive != nullptr) *responsive = false;
  }
  // Another process's window answers this from the system's copy, without a message.
  char caption[1024] = "";
  int copied = GetWindowTextA(w, caption, sizeof caption);
  return std::string(caption, copied > 0 ? copied : 0);
}

std::string WindowText(HWND w) {
  if (!IsWindow(w)) return "";
  return ReadText(w, nullptr);
}

std::string ClassOf(HWND w) {
  char name[256] = "";
  int length = GetClassNameA(w, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

bool IsClass(HWND w, const char* className) { return lstrcmpiA(ClassOf(w).c_str(), className) == 0; }

int ControlId(HWND w) { return GetDlgCtrlID(w); }

std::string Quote(const std::string& text) { return "\"" + text + "\""; }

std::string Describe(HWND w) {
  char caption[256] = "";
  GetWindowTextA(w, caption, sizeof caption);
  return "window " + Quote(caption);
}

}  // namespace winrobot
