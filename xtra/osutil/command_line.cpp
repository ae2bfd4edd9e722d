#include "xtra/osutil/command_line.h"

namespace {

struct Output {
  char* text;
  size_t n;
  size_t length;
  void Put(char c) {
    if (length + 1 < n) text[length++] = c;
  }
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The program path: quotes delimit it, backslashes are plain characters.
const char* TakeProgram(const char* p, Output& out) {
  bool quoted = false;
  for (; *p; ++p) {
    if (*p == '"') {
      quoted = !quoted;
      continue;
    }
    if (!quoted && IsBlank(*p)) break;
    out.Put(*p);
  }
  return p;
}

// 2k backslashes before a quote give k and the quote toggles quoting; 2k + 1 give k
// and a literal quote; inside quotes "" is a literal quote.
const char* TakeArgument(const char* p, Output& out) {
  bool quoted = false;
  while (*p && (quoted || !IsBlank(*p))) {
    size_t backslashes = 0;
    while (*p == '\\') {
      ++backslashes;
      ++p;
    }
    if (*p == '"') {
      for (size_t i = 0; i < backslashes / 2; ++i) out.Put('\\');
      if (backslashes % 2) {
        out.Put('"');
        ++p;
      } else if (quoted && p[1] == '"') {
        out.Put('"');
        p += 2;
      } else {
        quoted = !quoted;
        ++p;
      }
      continue;
    }
    for (size_t i = 0; i < backslashes; ++i) out.Put('\\');
    if (*p && (quoted || !IsBlank(*p))) out.Put(*p++);
  }
  return p;
}

}  // namespace

void JoinCommandLineArguments(const char* commandLine, char* out, size_t n) {
  if (n == 0) return;
  Output output{out, n, 0};
  const char* p = TakeProgram(commandLine, output);
  for (;;) {
    while (IsBlank(*p)) ++p;
    if (!*p) break;
    output.Put('\r');
    p = TakeArgument(p, output);
  }
  out[output.length] = '\0';
}
