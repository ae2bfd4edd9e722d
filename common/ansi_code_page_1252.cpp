// Code page 1252 by table, for the native build (the package builder and the quick
// logic tests), where there is no system code page to ask.
#include <cstdint>

#include "common/ansi_text.h"

namespace corvalis {

namespace {

// Code points of bytes 0x80-0x9F in code page 1252; 0 where the code page has none.
// The five holes map to their own C1 code points, as the system's converter does.
constexpr std::uint32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char CodePointToAnsi(std::uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

}  // namespace

std::string ToLowerAnsi(std::string text) {
  for (char& c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) {
      u = static_cast<unsigned char>(u + 0x20);
    } else if (u == 0x8A || u == 0x8C || u == 0x8E) {
      u = static_cast<unsigned char>(u + 0x10);
    } else if (u == 0x9F) {
      u = 0xFF;
    }
    c = static_cast<char>(u);
  }
  return text;
}

std::string Utf8ToAnsi(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  const std::size_t n = utf8.size();
  while (i < n) {
    unsigned char lead = static_cast<unsigned char>(utf8[i]);
    int extra = 0;
    std::uint32_t cp = 0;
    std::uint32_t minimum = 0;
    if (lead < 0x80) {
      out.push_back(static_cast<char>(lead));
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
      out.push_back('?');
      ++i;
      continue;
    }
    int taken = 0;
    while (taken < extra && i + 1 + taken < n) {
      unsigned char next = static_cast<unsigned char>(utf8[i + 1 + taken]);
      if ((next & 0xC0) != 0x80) break;
      cp = (cp << 6) | (next & 0x3F);
      ++taken;
    }
    // A broken sequence costs one "?" for its lead byte; what follows is read afresh.
    if (taken < extra) {
      out.push_back('?');
      ++i;
      continue;
    }
    i += 1 + extra;
    bool valid = cp >= minimum && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
    out.push_back(valid ? CodePointToAnsi(cp) : '?');
  }
  return out;
}

std::string AnsiToUtf8(const std::string& ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (char c : ansi) {
    const unsigned char u = static_cast<unsigned char>(c);
    const std::uint32_t cp = u >= 0x80 && u < 0xA0 ? kCp1252High[u - 0x80] : u;
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace corvalis
