#pragma once
// The command line of winrobot.exe, kept apart from the window calls.
#include <string>
#include <vector>

namespace winrobot {

enum class CliVerb { None, WaitWindow, List, ListWindows, Click, Check, SetText, Select, MsgBoxText, Answer, Items, Tick };

struct CliCommand {
  CliVerb verb = CliVerb::None;
  std::string title;
  std::string control;  // CONTROL, or BUTTON of "answer"
  std::string value;    // on|off, TEXT or ITEM
  std::string item;     // ITEM of "tick": its text or #index
  int timeoutMs = 5000;
  std::string error;    // set when the arguments don't make a command
};

CliCommand ParseCliArguments(const std::vector<std::string>& args);  // args without the program name
std::string CliUsage();

// One line of "list": class, id, state flags and the quoted text.
std::string FormatControlLine(const std::string& className, int id, bool visible, bool enabled,
                              bool checked, const std::string& text);

}  // namespace winrobot
