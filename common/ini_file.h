// The one INI reader of the installer, the uninstaller and the package builder.
// It turns bytes into groups and keys; it knows nothing about files' meaning and
// makes no system calls beyond reading a file, so it builds natively as well.
//
// Syntax: ANSI text, or UTF-8 after a byte-order mark, converted to the ANSI code page
// (Utf8ToAnsi). Lines end in CR LF, LF or CR. Leading spaces and tabs are skipped; a line that
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

#include "common/ansi_text.h"
#include "common/task_line.h"

namespace corvalis {

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

// No INI file of ours comes close; a larger one counts as unreadable.
constexpr std::uint64_t kMaxIniFileBytes = 64u * 1024 * 1024;

// The whole file (at most kMaxIniFileBytes) + ParseIni; false when it can't be read.
bool LoadIniFile(const std::string& path, IniDocument* document);

const IniGroup* FindGroup(const IniDocument& document, const std::string& group);
const IniKey* FindKey(const IniGroup& group, const std::string& key);
// The value of the first key of that name in the group, or fallback.
std::string GetIniValue(const IniDocument& document, const std::string& group,
                        const std::string& key, const std::string& fallback = "");

// Every key of the group as a task entry, in file order (duplicates included); empty
// when there is no such group.
std::vector<TaskEntry> ReadTaskList(const IniDocument& document, const std::string& group);

// Leading spaces/tabs, optional sign, then decimal digits, "$" hex digits or "%"
// binary digits; stops at the first other character; no digits gives 0. Wraps
// around modulo 2^64 instead of overflowing.
std::int64_t ParseInteger(const std::string& text);

}  // namespace corvalis
