#include "tools/xtrahost/lingo_call.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

#include "common/ansi_text.h"

namespace {

constexpr int kMaxNesting = 32;

class Parser {
 public:
  explicit Parser(const std::string& text) : text_(text) {}

  bool Call(LingoCall* call) {
    SkipBlanks();
    if (!Name(&call->name)) return Fail("expected a method name");
    SkipBlanks();
    if (AtEnd()) return true;
    if (!Take('(')) return Fail("expected '(' after the method name");
    if (!ArgList(')', &call->args, 0)) return false;
    SkipBlanks();
    if (!AtEnd()) return Fail("unexpected text after ')'");
    return true;
  }

  const std::string& Error() const { return error_; }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
  void SkipBlanks() {
    while (!AtEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  bool Take(char c) {
    SkipBlanks();
    if (Peek() != c) return false;
    ++pos_;
    return true;
  }
  bool Fail(const std::string& message) {
    if (error_.empty()) error_ = message + " at column " + std::to_string(pos_ + 1);
    return false;
  }

  bool Name(std::string* out) {
    const size_t start = pos_;
    if (!std::isalpha(static_cast<unsigned char>(Peek())) && Peek() != '_') return false;
    while (std::isalnum(static_cast<unsigned char>(Peek())) || Peek() == '_') ++pos_;
    *out = text_.substr(start, pos_ - start);
    return true;
  }

  // Items up to the closing character, which is consumed.
  bool ArgList(char close, std::vector<LingoArg>* out, int depth) {
    if (Take(close)) return true;
    for (;;) {
      LingoArg arg;
      if (!Arg(&arg, depth)) return false;
      out->push_back(std::move(arg));
      if (Take(close)) return true;
      if (!Take(',')) return Fail(std::string("expected ',' or '") + close + "'");
    }
  }

  bool Arg(LingoArg* arg, int depth) {
    if (depth > kMaxNesting) return Fail("lists nested too deeply");
    SkipBlanks();
    const char c = Peek();
    if (c == '"') {
      const size_t close = text_.find('"', pos_ + 1);
      if (close == std::string::npos) return Fail("text without closing quote");
      arg->kind = LingoArg::Kind::String;
      arg->text = text_.substr(pos_ + 1, close - pos_ - 1);
      pos_ = close + 1;
      return true;
    }
    if (c == '[') {
      ++pos_;
      arg->kind = LingoArg::Kind::List;
      return ArgList(']', &arg->items, depth + 1);
    }
    if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
      arg->kind = LingoArg::Kind::Integer;
      return Integer(&arg->integer);
    }
    std::string word;
    if (!Name(&word)) return Fail("expected a value");
    const std::string lower = corvalis::ToLowerAnsi(word);
    if (lower == "void") return true;
    if (lower == "empty") {
      arg->kind = LingoArg::Kind::String;
      return true;
    }
    if (lower == "rgb") return Colour(arg);
    return Fail("unknown value '" + word + "'");
  }

  bool Integer(int32_t* out) {
    SkipBlanks();
    const size_t start = pos_;
    if (Peek() == '-') ++pos_;
    if (!std::isdigit(static_cast<unsigned char>(Peek()))) return Fail("expected a number");
    while (std::isdigit(static_cast<unsigned char>(Peek()))) ++pos_;
    errno = 0;
    const long long value = std::strtoll(text_.substr(start, pos_ - start).c_str(), nullptr, 10);
    if (errno == ERANGE || value < INT32_MIN || value > INT32_MAX) return Fail("number out of range");
    *out = static_cast<int32_t>(value);
    return true;
  }

  bool Colour(LingoArg* arg) {
    if (!Take('(')) return Fail("expected '(' after rgb");
    int32_t parts[3];
    for (int i = 0; i < 3; ++i) {
      if (i && !Take(',')) return Fail("expected ','");
      if (!Integer(&parts[i])) return false;
      if (parts[i] < 0 || parts[i] > 255) return Fail("colour part out of 0..255");
    }
    if (!Take(')')) return Fail("expected ')'");
    arg->kind = LingoArg::Kind::Colour;
    arg->colour = ColourRecord{uint8_t(parts[0]), uint8_t(parts[1]), uint8_t(parts[2]), kColourKindRgb};
    return true;
  }

  const std::string& text_;
  size_t pos_ = 0;
  std::string error_;
};

}  // namespace

bool ParseLingoCall(const std::string& line, LingoCall* call, std::string* error) {
  Parser parser(line);
  LingoCall parsed;
  if (!parser.Call(&parsed)) {
    *error = parser.Error();
    return false;
  }
  *call = std::move(parsed);
  return true;
}

bool IsBlankOrComment(const std::string& line) {
  const size_t first = line.find_first_not_of(" \t\r\n");
  return first == std::string::npos || line.compare(first, 2, "--") == 0;
}

bool ParseSleepLine(const std::string& line, int32_t* milliseconds, std::string* error) {
  error->clear();
  LingoCall call;
  std::string ignored;
  if (!ParseLingoCall(line, &call, &ignored)) return false;
  if (corvalis::ToLowerAnsi(call.name) != "sleep") return false;
  if (call.args.size() != 1 || call.args[0].kind != LingoArg::Kind::Integer || call.args[0].integer < 0 ||
      call.args[0].integer > kMaxSleepMs) {
    *error = "sleep takes one number of milliseconds, 0 to " + std::to_string(kMaxSleepMs);
    return true;
  }
  *milliseconds = call.args[0].integer;
  return true;
}

HostValue MakeHostValue(HostValueStore& store, const LingoArg& arg) {
  switch (arg.kind) {
    case LingoArg::Kind::Void:
      return HostValueStore::Void();
    case LingoArg::Kind::Integer:
      return HostValueStore::Integer(arg.integer);
    case LingoArg::Kind::String:
      return store.String(arg.text);
    case LingoArg::Kind::Colour:
      return HostValueStore::Colour(arg.colour);
    case LingoArg::Kind::List: {
      HostValue list = store.NewList();
      for (const LingoArg& item : arg.items) store.Append(list, MakeHostValue(store, item));
      return list;
    }
  }
  return HostValueStore::Void();
}
