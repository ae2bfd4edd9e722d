// One Lingo call as typed for the substitute host: a method name and arguments
// written as Lingo literals, e.g. SendUDPMessage("127.0.0.1", 5000, "hi").
// Arguments: integers, "texts" (no escapes, as in Lingo), [lists], rgb(r, g, b),
// VOID and EMPTY.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/xtrahost/host_values.h"

struct LingoArg {
  enum class Kind { Void, Integer, String, List, Colour } kind = Kind::Void;
  int32_t integer = 0;
  std::string text;
  std::vector<LingoArg> items;
  ColourRecord colour{0, 0, 0, kColourKindRgb};
};

struct LingoCall {
  std::string name;
  std::vector<LingoArg> args;
};

// False with a message in *error when the line isn't a call.
bool ParseLingoCall(const std::string& line, LingoCall* call, std::string* error);

// A line that holds no call: empty, blanks only, or a "--" comment.
bool IsBlankOrComment(const std::string& line);

// "sleep(ms)": the host pauses between calls, so that one script can send and then
// receive. It is the host's own line, never a method of the Xtra. True when the
// line is a sleep line; *error is then empty or says what is wrong with it.
bool ParseSleepLine(const std::string& line, int32_t* milliseconds, std::string* error);
constexpr int32_t kMaxSleepMs = 600000;

HostValue MakeHostValue(HostValueStore& store, const LingoArg& arg);
