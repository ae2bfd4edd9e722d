// The one INI reader of the installer, the uninstaller and the package builder.
// It turns bytes into groups and keys; it knows nothing about files' meaning and
// makes no system calls beyond reading a file, so it builds natively as well.
//
// Syntax: ANSI text (code page 1252), or UTF-8 after a byte-order mark, converted to
// 1252. Lines end in CR LF, LF or CR. Leading spaces and tabs are skipped; a line that
// then starts with ";" is a comment. "[name]" opens a group (text after "]" ignored);
// "name = value" is a key, both sides trimmed of spaces and tabs.
//
// Duplicates (our builder writes none, hand-edited files may): a group that appears
// again continues the earlier one, so its keys are appended there; every key line is
// kept in file order, and a lookup by name returns the first one (as the Windows
// profile functions do). Lists taken from a group, such as task lists, see every
// line, so no line of a hand-edited file is silently dropped. Group and key names
// match without regard to letter case.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace corvalis {

constexpr char kFieldSeparator = '\xB6';  // the pilcrow in code page 1252

struct IniKey {
  std::string Name;
  std::string Value;
  int LineNumber = 0;  // 1-based, for the builder's warnings
};

struct IniGroup {
  std::string Name;
  std::vector<IniKey> Keys;  // file order
  int LineNumber = 0;        // 0 for the keys that stand before any group
};

// A line that is neither blank, comment, group nor key (no "=", or an empty name).
struct IniStrayLine {
  int LineNumber = 0;
  std::string Group;  // the group it stands in
  std::string Text;
};

struct IniDocument {
  std::vector<IniGroup> Groups;  // order of first appearance
  std::vector<IniStrayLine> StrayLines;
};

IniDocument ParseIni(const std::string& bytes);

// Reads the whole file; false when it can't be opened or read.
bool ReadFileBytes(const std::string& path, std::string* bytes);
// ReadFileBytes + ParseIni; false when the file can't be read.
bool LoadIniFile(const std::string& path, IniDocument* document);

const IniGroup* FindGroup(const IniDocument& document, const std::string& group);
const IniKey* FindKey(const IniGroup& group, const std::string& key);
// The value of the first key of that name in the group, or fallback.
std::string GetIniValue(const IniDocument& document, const std::string& group,
                        const std::string& key, const std::string& fallback = "");

// UTF-8 to code page 1252; anything without a 1252 byte, and every malformed
// sequence, becomes "?".
std::string Utf8ToAnsi(const std::string& utf8);

// Leading spaces/tabs, optional sign, then decimal digits, "$" hex digits or "%"
// binary digits; stops at the first other character; no digits gives 0. Wraps
// around modulo 2^64 instead of overflowing.
std::int64_t ParseInteger(const std::string& text);

std::string TrimBlanks(const std::string& text);  // spaces and tabs

// Field n (from 1) of a pilcrow-separated line; a missing field is empty.
std::string Field(const std::string& line, int n);
int FieldCount(const std::string& line);

// Lower case in code page 1252 (letters with accents included), as the system's
// own lower-casing does it.
std::string ToLowerAnsi(std::string text);
// Equality after ToLowerAnsi: how names of groups and keys are compared.
bool EqualsNoCase(const std::string& a, const std::string& b);
bool ContainsNoCase(const std::string& text, const std::string& token);
// Every occurrence of `token`, matched after ToLowerAnsi, replaced by `value`. The result
// stops growing once it is longer than `maxLength`, so a caller can refuse a text that
// would explode without building it.
std::string ReplaceNoCase(const std::string& text, const std::string& token,
                          const std::string& value, std::size_t maxLength = std::string::npos);

}  // namespace corvalis
