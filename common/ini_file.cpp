#include "common/ini_file.h"

#include <map>

#include "common/ansi_text.h"
#include "common/whole_file.h"

namespace corvalis {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// The reader's state: which group the lines go to, and every group by its lower-case
// name, so that a group line costs one look-up however many groups came before.
struct Reader {
  IniDocument& document;
  std::map<std::string, std::size_t> groupIndex;
  std::size_t current = std::string::npos;

  std::size_t GroupNamed(const std::string& name, int lineNumber) {
    const auto found = groupIndex.emplace(ToLowerAnsi(name), document.Groups.size());
    if (found.second) document.Groups.push_back(IniGroup{name, {}, lineNumber});
    return found.first->second;
  }
};

void ParseLine(const std::string& line, int lineNumber, Reader& reader) {
  IniDocument& document = reader.document;
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
    reader.current = reader.GroupNamed(name, lineNumber);
    return;
  }

  std::size_t equals = line.find('=', start);
  std::string name =
      equals == std::string::npos ? std::string() : TrimBlanks(line.substr(start, equals - start));
  if (name.empty()) {
    const bool inGroup = reader.current != std::string::npos;
    document.StrayLines.push_back(
        IniStrayLine{lineNumber, inGroup ? document.Groups[reader.current].Name : std::string(), TrimBlanks(line)});
    return;
  }
  // Keys before any group line go to the nameless group, which then comes first.
  if (reader.current == std::string::npos) reader.current = reader.GroupNamed("", 0);
  document.Groups[reader.current].Keys.push_back(IniKey{name, TrimBlanks(line.substr(equals + 1)), lineNumber});
}

}  // namespace

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

IniDocument ParseIni(const std::string& bytes) {
  static const char kBom[] = "\xEF\xBB\xBF";
  std::string text =
      bytes.compare(0, 3, kBom) == 0 ? Utf8ToAnsi(bytes.substr(3)) : bytes;

  IniDocument document;
  Reader reader{document, {}, std::string::npos};
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    ParseLine(text.substr(pos, end - pos), ++lineNumber, reader);
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return document;
}

bool LoadIniFile(const std::string& path, IniDocument* document) {
  std::string bytes;
  if (ReadWholeFile(path, kMaxIniFileBytes, &bytes) != FileRead::Ok) return false;
  *document = ParseIni(bytes);
  return true;
}

std::vector<TaskEntry> ReadTaskList(const IniDocument& document, const std::string& group) {
  std::vector<TaskEntry> tasks;
  if (const IniGroup* found = FindGroup(document, group)) {
    for (const IniKey& key : found->Keys) tasks.push_back(TaskEntry{key.Name, key.Value});
  }
  return tasks;
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
