// Text helpers for 8-bit texts in the ANSI code page: one trim, one case rule, one
// case-insensitive search and replace, one path splitter. Pure code, built natively too.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace corvalis {

// Spaces and tabs at both ends removed.
std::string TrimBlanks(const std::string& text);
// Spaces (only) at both ends removed: names typed by people, folder arguments.
std::string TrimSpaces(const std::string& text);

// Lower case as the system's own lower-casing does it: on Windows in the running ANSI
// code page, in the native build by code page 1252 (letters with accents included).
std::string ToLowerAnsi(std::string text);
// Equality after ToLowerAnsi: how names of groups, keys and files are compared.
bool EqualsNoCase(const std::string& a, const std::string& b);
bool ContainsNoCase(const std::string& text, const std::string& token);
bool EndsWithNoCase(const std::string& text, const std::string& suffix);
// Every occurrence of `token`, matched after ToLowerAnsi, replaced by `value`. The result
// stops growing once it is longer than `maxLength`, so a caller can refuse a text that
// would explode without building it.
std::string ReplaceNoCase(const std::string& text, const std::string& token,
                          const std::string& value, std::size_t maxLength = std::string::npos);

// The longest text either program builds from what a package or data file says (the
// system's own limit for a path through the wide calls): a text that holds its placeholder
// many times over, with a long value, must not grow without end.
constexpr std::size_t kMaxBuiltTextChars = 32767;
// ReplaceNoCase within kMaxBuiltTextChars: a result that would be longer is refused, and
// the text stands as it was.
std::string ReplaceWithinLimit(const std::string& text, const std::string& token, const std::string& value);

// UTF-8 to the ANSI code page: on Windows the system's own (through UTF-16), in the
// native build code page 1252. Anything without a byte there, and every malformed
// sequence, becomes "?".
std::string Utf8ToAnsi(const std::string& utf8);
// The other way: ANSI text as UTF-8 (for the logs).
std::string AnsiToUtf8(const std::string& ansi);

// The parts of a comma-separated list, each trimmed of spaces, empty parts left out.
std::vector<std::string> SplitCommaList(const std::string& list);

// The text after the last "\" or "/" (the whole text when there is none).
std::string FileNamePart(const std::string& path);
// The folder part, up to and with its last "\" or "/"; empty without one.
std::string FolderPart(const std::string& path);
// Appends "\" when the path lacks one (an empty path becomes "\").
std::string WithTrailingBackslash(std::string path);
// Every "/" becomes "\".
std::string SlashesToBackslashes(std::string path);
// A path that names its drive ("C:\...") or share ("\\server\..."): one that doesn't
// depend on the current folder. Not one in the system's own namespaces (HasNamespacePrefix):
// those skip every check the system makes of a path.
bool IsFullPath(const std::string& path);
// "\\?\", "\\.\" or "\??\" in front (either slash): a device, a volume, "\\?\UNC\..." or
// a path that the system is told not to resolve.
bool HasNamespacePrefix(const std::string& path);
// Whether a whole folder tree at path may be deleted: a full path below a drive root
// ("C:\x\") or below a share ("\\server\share\x\"), each part below the root a plain name
// (not empty, ".", ".." or what Windows reads as such, no ":"), no control character or
// wildcard, no namespace prefix. Anything else comes only from a damaged or hostile script
// or data file, and deleting it could take the current folder, a drive or a volume.
bool IsRemovableFolderTree(const std::string& path);
// "1", "1.4", "2.0.3": numbers (each at most 65535, as a version resource holds them)
// parted by single dots, into *parts. false for anything else, *parts then undefined.
bool ParseDottedVersion(const std::string& text, std::vector<unsigned>* parts);
// <0, 0, >0 as version a is lower than, equal to or higher than b, missing parts read as 0
// ("1.4" == "1.4.0"); 0 when either is not dotted numbers.
int CompareDottedVersions(const std::string& a, const std::string& b);
// How deep a folder lies: the number of "\" in its path.
int PathDepth(const std::string& path);
// The positions of paths of these depths, deepest first, those of one depth in their order.
std::vector<std::size_t> DeepestFirstOrder(const std::vector<int>& depths);
// Deepest (most "\") first, items of one depth in their order: removing folders in this
// order empties each parent before its turn. pathOf gives an item's folder path. (One sort
// for every kind of item: each instance of a sort costs the shipped programs kilobytes.)
template <typename Item, typename PathOf>
void SortDeepestFirst(std::vector<Item>* items, PathOf pathOf) {
  std::vector<int> depths;
  depths.reserve(items->size());
  for (const Item& item : *items) depths.push_back(PathDepth(pathOf(item)));
  std::vector<Item> sorted;
  sorted.reserve(items->size());
  for (const std::size_t at : DeepestFirstOrder(depths)) sorted.push_back(std::move((*items)[at]));
  items->swap(sorted);
}

}  // namespace corvalis
