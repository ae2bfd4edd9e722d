#include "tools/winrobot/cli_command.h"

#include <cerrno>
#include <cstdlib>

namespace winrobot {
namespace {

struct VerbShape {
  const char* name;
  CliVerb verb;
  size_t operands;  // including TITLE
};

const VerbShape kVerbs[] = {
    {"wait-window", CliVerb::WaitWindow, 1}, {"list", CliVerb::List, 1},
    {"click", CliVerb::Click, 2},            {"check", CliVerb::Check, 3},
    {"set-text", CliVerb::SetText, 3},       {"select", CliVerb::Select, 3},
    {"msgbox-text", CliVerb::MsgBoxText, 1}, {"answer", CliVerb::Answer, 2},
    {"items", CliVerb::Items, 2},            {"tick", CliVerb::Tick, 4},
};

bool ParseTimeout(const std::string& text, int* timeoutMs) {
  const char* digits = text.c_str();
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(digits, &end, 10);
  if (errno != 0 || end == digits || *end != '\0' || value < 0 || value > 3600000L) return false;
  *timeoutMs = static_cast<int>(value);
  return true;
}

}  // namespace

CliCommand ParseCliArguments(const std::vector<std::string>& args) {
  CliCommand command;
  std::vector<std::string> operands;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--timeout") {
      if (i + 1 >= args.size() || !ParseTimeout(args[i + 1], &command.timeoutMs)) {
        command.error = "--timeout needs a number of milliseconds";
        return command;
      }
      ++i;
      continue;
    }
    operands.push_back(args[i]);
  }
  if (operands.empty()) {
    command.error = "no command given";
    return command;
  }
  // "list" alone: the visible top-level windows, to find the title the others need.
  if (operands.size() == 1 && operands[0] == "list") {
    command.verb = CliVerb::ListWindows;
    return command;
  }
  const VerbShape* shape = nullptr;
  for (const VerbShape& candidate : kVerbs) {
    if (operands[0] == candidate.name) shape = &candidate;
  }
  if (shape == nullptr) {
    command.error = "unknown command \"" + operands[0] + "\"";
    return command;
  }
  if (operands.size() - 1 != shape->operands) {
    command.error = operands[0] + " takes " + std::to_string(shape->operands) + " argument(s), got " +
                    std::to_string(operands.size() - 1);
    return command;
  }
  command.verb = shape->verb;
  command.title = operands[1];
  if (shape->operands >= 2) command.control = operands[2];
  if (shape->operands >= 3) command.value = operands[3];
  if (command.verb == CliVerb::Tick) {
    command.item = operands[3];
    command.value = operands[4];
  }
  if ((command.verb == CliVerb::Check || command.verb == CliVerb::Tick) && command.value != "on" &&
      command.value != "off") {
    command.verb = CliVerb::None;
    command.error = operands[0] + " wants \"on\" or \"off\", got \"" + command.value + "\"";
  }
  return command;
}

std::string CliUsage() {
  return "usage: winrobot COMMAND ... [--timeout ms]\n"
         "  wait-window TITLE              wait for a visible top-level window\n"
         "  list                           list the visible top-level windows: process, class, title\n"
         "  list TITLE                     list the window's controls\n"
         "  click TITLE CONTROL            click a button\n"
         "  check TITLE CONTROL on|off     tick or untick a checkbox\n"
         "  set-text TITLE CONTROL TEXT    set an edit field's text\n"
         "  select TITLE CONTROL ITEM      select a list or combo box item\n"
         "  items TITLE CONTROL            list a check-box list's items: [x] or [ ], text\n"
         "  tick TITLE CONTROL ITEM on|off tick or untick an item (its text, or #index)\n"
         "  msgbox-text TITLE              print a message box's text\n"
         "  answer TITLE BUTTON            answer a message box\n"
         "CONTROL is the text a user reads ('&' ignored), or #id. Windows and controls\n"
         "are waited for up to --timeout ms (default 5000). Output is UTF-8.\n";
}

std::string FormatControlLine(const std::string& className, int id, bool visible, bool enabled,
                              bool checked, const std::string& text) {
  std::string line = className + "\t#" + std::to_string(id) + "\t";
  line += visible ? "visible" : "hidden";
  line += enabled ? " enabled" : " disabled";
  if (checked) line += " checked";
  line += "\t\"";
  for (char c : text) {
    if (c == '\n') line += "\\n";
    else if (c == '\r') line += "\\r";
    else if (c == '\t') line += "\\t";
    else if (c == '"' || c == '\\') { line += '\\'; line += c; }
    else line += c;
  }
  line += '"';
  return line;
}

}  // namespace winrobot
