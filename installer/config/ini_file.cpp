#include "installer/config/ini_file.h"

#include <cstdio>

namespace corvalis {

namespace {

// Code points of bytes 0x80-0x9F in code page 1252; 0 where the code page has none.
// The five holes map to their own C1 code points, as the system's converter does.
constexpr std::uint32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::size_t kMaxFileBytes = 64u * 1024 * 1024;  // no INI of ours comes close

char CodePointToAnsi(std::uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

IniGroup* GroupNamed(IniDocument& document, const std::string& name) {
  for (IniGroup& group : document.Groups) {
    if (EqualsNoCase(group.Name, name)) return &group;
  }
  return nullptr;
}

void ParseLine(const std::string& line, int lineNumber, IniDocument& document,
               IniGroup*& current) {
  std::size_t start = 0;
  while (start < line.size() && IsBlank(line[start])) ++start;
  if (start == line.size() || line[start] == ';') return;

  if (line[start] == '[') {
    // A group line without "]" still names a group: keys below it must not fall
    // into the group above.
    std::size_t close = line.find(']', start + 1);
    std::string name = TrimBlanks(line.substr(start + 1, close == std::string::npos
                                                             ? std::string::npos
                                                             : close - start - 1));
    current = GroupNamed(document, name);
    if (!current) {
      document.Groups.push_back(IniGroup{name, {}, lineNumber});
      current = &document.Groups.back();
    }
    return;
  }

  std::size_t equals = line.find('=', start);
  std::string name =
      equals == std::string::npos ? std::string() : TrimBlanks(line.substr(start, equals - start));
  if (name.empty()) {
    document.StrayLines.push_back(
        IniStrayLine{lineNumber, current ? current->Name : std::string(), TrimBlanks(line)});
    return;
  }
  if (!current) {
    current = GroupNamed(document, "");
    if (!current) {
      document.Groups.insert(document.Groups.begin(), IniGroup{"", {}, 0});
      current = &document.Groups.front();
    }
  }
  current->Keys.push_back(IniKey{name, TrimBlanks(line.substr(equals + 1)), lineNumber});
}

}  // namespace

std::string TrimBlanks(const std::string& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

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

bool EqualsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && ToLowerAnsi(a) == ToLowerAnsi(b);
}

bool ContainsNoCase(const std::string& text, const std::string& token) {
  return ToLowerAnsi(text).find(ToLowerAnsi(token)) != std::string::npos;
}

std::string ReplaceNoCase(const std::string& text, const std::string& token,
                          const std::string& value, std::size_t maxLength) {
  if (token.empty()) return text;
  const std::string lowerText = ToLowerAnsi(text);
  const std::string lowerToken = ToLowerAnsi(token);
  std::string result;
  std::size_t from = 0;
  for (;;) {
    std::size_t at = lowerText.find(lowerToken, from);
    if (at == std::string::npos) break;
    result.append(text, from, at - from);
    result += value;
    from = at + token.size();
    if (result.size() > maxLength) return result;
  }
  result.append(text, from, std::string::npos);
  return result;
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

std::int64_t ParseInteger(const std::string& text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  if (i < n && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i < n && text[i] == '%') {
    base = 2;
    ++i;
  }
  std::uint64_t value = 0;
  for (; i < n; ++i) {
    int digit = DigitValue(text[i]);
    if (digit >= base) break;
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
  }
  if (negative) value = ~value + 1;
  return static_cast<std::int64_t>(value);
}

std::string Field(const std::string& line, int n) {
  if (n < 1) return std::string();
  std::size_t start = 0;
  for (int i = 1; i < n; ++i) {
    std::size_t sep = line.find(kFieldSeparator, start);
    if (sep == std::string::npos) return std::string();
    start = sep + 1;
  }
  std::size_t end = line.find(kFieldSeparator, start);
  return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

int FieldCount(const std::string& line) {
  int count = 1;
  for (char c : line) {
    if (c == kFieldSeparator) ++count;
  }
  return count;
}

IniDocument ParseIni(const std::string& bytes) {
  static const char kBom[] = "\xEF\xBB\xBF";
  std::string text =
      bytes.compare(0, 3, kBom) == 0 ? Utf8ToAnsi(bytes.substr(3)) : bytes;

  IniDocument document;
  IniGroup* current = nullptr;
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    ParseLine(text.substr(pos, end - pos), ++lineNumber, document, current);
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return document;
}

bool ReadFileBytes(const std::string& path, std::string* bytes) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::string data;
  char buffer[65536];
  bool ok = true;
  for (;;) {
    std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    data.append(buffer, got);
    if (data.size() > kMaxFileBytes) {
      ok = false;
      break;
    }
    if (got < sizeof buffer) {
      ok = !std::ferror(file);
      break;
    }
  }
  std::fclose(file);
  if (ok) bytes->swap(data);
  return ok;
}

bool LoadIniFile(const std::string& path, IniDocument* document) {
  std::string bytes;
  if (!ReadFileBytes(path, &bytes)) return false;
  *document = ParseIni(bytes);
  return true;
}

const IniGroup* FindGroup(const IniDocument& document, const std::string& group) {
  for (const IniGroup& g : document.Groups) {
    if (EqualsNoCase(g.Name, group)) return &g;
  }
  return nullptr;
}

const IniKey* FindKey(const IniGroup& group, const std::string& key) {
  for (const IniKey& k : group.Keys) {
    if (EqualsNoCase(k.Name, key)) return &k;
  }
  return nullptr;
}

std::string GetIniValue(const IniDocument& document, const std::string& group,
                        const std::string& key, const std::string& fallback) {
  const IniGroup* g = FindGroup(document, group);
  const IniKey* k = g ? FindKey(*g, key) : nullptr;
  return k ? k->Value : fallback;
}

}  // namespace corvalis
