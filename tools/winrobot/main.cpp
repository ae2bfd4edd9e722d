// winrobot.exe: the robot for shell scripts. Exit 0 on success, 1 when the window,
// control or action fails, 2 on a bad command line; the reason goes to stderr.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include "common/ansi_text.h"
#include "tools/winrobot/cli_command.h"
#include "tools/winrobot/winrobot.h"

namespace {

int Failed(const std::string& reason) {
  std::fprintf(stderr, "winrobot: %s\n", reason.c_str());
  return 1;
}

class Deadline {
 public:
  explicit Deadline(int timeoutMs) : start_(GetTickCount()), timeoutMs_(timeoutMs) {}
  int RemainingMs() const {
    DWORD used = GetTickCount() - start_;
    return used >= static_cast<DWORD>(timeoutMs_) ? 0 : timeoutMs_ - static_cast<int>(used);
  }

 private:
  DWORD start_;
  int timeoutMs_;
};

// "items" prints the list's items; "tick" finds ITEM by its text or #index.
bool RunListViewAction(const winrobot::CliCommand& command, HWND list) {
  const std::vector<winrobot::ListViewItem> items = winrobot::ListViewItems(list);
  if (!winrobot::LastError().empty()) return false;
  if (command.verb == winrobot::CliVerb::Items) {
    for (const winrobot::ListViewItem& item : items) {
      std::printf("[%c] %s\n", item.ticked ? 'x' : ' ', corvalis::AnsiToUtf8(item.text).c_str());
    }
    return true;
  }
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (command.item == "#" + std::to_string(i) || command.item == items[i].text) {
      return winrobot::SetListViewItemTicked(list, static_cast<int>(i), command.value == "on");
    }
  }
  return false;
}

int RunControlAction(const winrobot::CliCommand& command, HWND window, const Deadline& deadline) {
  // A field named by its label waits for the label, which appears with the field.
  if (winrobot::WaitForControl(window, command.control, deadline.RemainingMs()) == nullptr) {
    return Failed(winrobot::LastError());
  }
  bool done = false;
  switch (command.verb) {
    case winrobot::CliVerb::Click:
      done = winrobot::ClickButton(window, command.control);
      break;
    case winrobot::CliVerb::Check:
      done = winrobot::SetCheck(window, command.control, command.value == "on");
      break;
    case winrobot::CliVerb::SetText:
      done = winrobot::SetEditText(window, command.control, command.value);
      break;
    case winrobot::CliVerb::Select:
      done = winrobot::SelectItem(window, command.control, command.value);
      break;
    case winrobot::CliVerb::Items:
    case winrobot::CliVerb::Tick:
      done = RunListViewAction(command, winrobot::FindControl(window, command.control));
      break;
    default:
      break;
  }
  if (done) return 0;
  return Failed(winrobot::LastError().empty() ? "no item \"" + command.item + "\"" : winrobot::LastError());
}

// One visible top-level window: "<process id>\t<class>\t"<title>"".
BOOL CALLBACK PrintWindow(HWND window, LPARAM) {
  if (!IsWindowVisible(window)) return TRUE;
  wchar_t title[512] = L"";
  GetWindowTextW(window, title, 512);
  char utf8Title[1536] = "";
  WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8Title, sizeof utf8Title, nullptr, nullptr);
  char className[256] = "";
  GetClassNameA(window, className, sizeof className);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  std::printf("%lu\t%s\t\"%s\"\n", static_cast<unsigned long>(pid), className, utf8Title);
  return TRUE;
}

int Run(const winrobot::CliCommand& command) {
  Deadline deadline(command.timeoutMs);
  if (command.verb == winrobot::CliVerb::ListWindows) {
    EnumWindows(PrintWindow, 0);
    return 0;
  }
  if (command.verb == winrobot::CliVerb::MsgBoxText || command.verb == winrobot::CliVerb::Answer) {
    HWND box = winrobot::WaitForMessageBox(0, command.title, deadline.RemainingMs());
    if (box == nullptr) return Failed(winrobot::LastError());
    if (command.verb == winrobot::CliVerb::MsgBoxText) {
      std::string text = winrobot::MessageBoxText(box);
      if (!winrobot::LastError().empty()) return Failed(winrobot::LastError());
      std::printf("%s\n", corvalis::AnsiToUtf8(text).c_str());
      return 0;
    }
    if (!winrobot::AnswerMessageBox(box, command.control)) return Failed(winrobot::LastError());
    if (!winrobot::WaitForWindowGone(box, deadline.RemainingMs() > 1000 ? deadline.RemainingMs() : 1000)) {
      return Failed(winrobot::LastError());
    }
    return 0;
  }
  HWND window = winrobot::WaitForWindow(command.title, deadline.RemainingMs());
  if (window == nullptr) return Failed(winrobot::LastError());
  switch (command.verb) {
    case winrobot::CliVerb::WaitWindow:
      return 0;
    case winrobot::CliVerb::List:
      for (const winrobot::ControlInfo& control : winrobot::ListControls(window)) {
        const std::string line = winrobot::FormatControlLine(control.className, control.id, control.visible,
                                                             control.enabled, control.checked, control.text);
        std::printf("%s\n", corvalis::AnsiToUtf8(line).c_str());
      }
      if (!winrobot::LastError().empty()) std::fprintf(stderr, "winrobot: %s\n", winrobot::LastError().c_str());
      return 0;
    default:
      return RunControlAction(command, window, deadline);
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Scripts on the Linux side read the output; no "\r\n" translation.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  std::vector<std::string> args(argv + 1, argv + argc);
  winrobot::CliCommand command = winrobot::ParseCliArguments(args);
  if (command.verb == winrobot::CliVerb::None) {
    std::fprintf(stderr, "winrobot: %s\n%s", command.error.c_str(), winrobot::CliUsage().c_str());
    return 2;
  }
  int status = Run(command);
  std::fflush(stdout);
  return status;
}
