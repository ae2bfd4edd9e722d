#include "common/ansi_text.h"

#include <vector>

#include <algorithm>

namespace corvalis {

namespace {

std::string TrimOf(const std::string& text, const char* characters) {
  const std::size_t first = text.find_first_not_of(characters);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(characters) - first + 1);
}

}  // namespace

std::string TrimBlanks(const std::string& text) { return TrimOf(text, " \t"); }

std::string TrimSpaces(const std::string& text) { return TrimOf(text, " "); }

bool EqualsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && ToLowerAnsi(a) == ToLowerAnsi(b);
}

bool EndsWithNoCase(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && EqualsNoCase(text.substr(text.size() - suffix.size()), suffix);
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

std::string ReplaceWithinLimit(const std::string& text, const std::string& token, const std::string& value) {
  const std::size_t limit = text.size() > kMaxBuiltTextChars ? text.size() : kMaxBuiltTextChars;
  std::string result = ReplaceNoCase(text, token, value, limit);
  return result.size() > limit ? text : result;
}

std::vector<std::string> SplitCommaList(const std::string& list) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = list.find(',', start);
    const std::string part = TrimSpaces(list.substr(start, comma == std::string::npos ? comma : comma - start));
    if (!part.empty()) parts.push_back(part);
    if (comma == std::string::npos) return parts;
    start = comma + 1;
  }
}

std::string FileNamePart(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderPart(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string WithTrailingBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

bool IsFullPath(const std::string& path) {
  if (HasNamespacePrefix(path)) return false;
  if (path.size() >= 3 && path[0] == '\\' && path[1] == '\\') return path[2] != '\\';
  const char drive = static_cast<char>(path.empty() ? 0 : (path[0] | 0x20));
  return path.size() >= 3 && drive >= 'a' && drive <= 'z' && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

std::vector<std::size_t> DeepestFirstOrder(const std::vector<int>& depths) {
  std::vector<std::size_t> order(depths.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&depths](std::size_t a, std::size_t b) { return depths[a] > depths[b]; });
  return order;
}

int PathDepth(const std::string& path) { return static_cast<int>(std::count(path.begin(), path.end(), '\\')); }

std::string SlashesToBackslashes(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

namespace {

bool IsSlash(char c) { return c == '\\' || c == '/'; }

// The parts between slashes; an empty part stands for a doubled or a trailing slash.
std::vector<std::string> PathParts(const std::string& path) {
  std::vector<std::string> parts(1);
  for (char c : path) {
    if (IsSlash(c)) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

}  // namespace

bool HasNamespacePrefix(const std::string& path) {
  if (path.size() < 4 || !IsSlash(path[0]) || !IsSlash(path[3])) return false;
  return (IsSlash(path[1]) && (path[2] == '?' || path[2] == '.')) || (path[1] == '?' && path[2] == '?');
}

bool IsRemovableFolderTree(const std::string& path) {
  // Every character as the delete calls will see it: none that ends the path early (a
  // NUL), makes it a pattern or names a stream.
  for (const char c : path) {
    if (static_cast<unsigned char>(c) < 0x20 || std::string("<>\"|?*").find(c) != std::string::npos) return false;
  }
  if (HasNamespacePrefix(path)) return false;  // device, volume and "\\?\UNC" spellings
  std::vector<std::string> parts = PathParts(path);
  if (parts.size() > 1 && parts.back().empty()) parts.pop_back();  // the closing "\"
  std::size_t first;  // the first part below the root
  if (parts.size() >= 3 && parts[0].empty() && parts[1].empty()) {
    // "\\server\share\...": server and share make the root.
    parts.erase(parts.begin(), parts.begin() + 2);
    if (parts.size() < 2 || TrimSpaces(parts[0]).empty() || TrimSpaces(parts[1]).empty()) return false;
    first = 2;
  } else {
    const std::string& drive = parts[0];
    const bool isDrive = drive.size() == 2 && drive[1] == ':' &&
                         ((drive[0] >= 'A' && drive[0] <= 'Z') || (drive[0] >= 'a' && drive[0] <= 'z'));
    if (!isDrive) return false;
    first = 1;
  }
  if (parts.size() <= first) return false;
  for (std::size_t i = first; i < parts.size(); ++i) {
    // Windows drops trailing dots and spaces: "..." and ". ." climb like "..".
    if (parts[i].find(':') != std::string::npos || parts[i].find_first_not_of(". ") == std::string::npos) return false;
  }
  return true;
}

bool ParseDottedVersion(const std::string& text, std::vector<unsigned>* parts) {
  parts->clear();
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = text.find('.', start);
    const std::string part = text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    if (part.empty() || part.size() > 5 || part.find_first_not_of("0123456789") != std::string::npos) return false;
    unsigned long number = 0;
    for (const char digit : part) number = number * 10 + static_cast<unsigned long>(digit - '0');
    if (number > 0xFFFF) return false;
    parts->push_back(static_cast<unsigned>(number));
    if (dot == std::string::npos) return true;
    start = dot + 1;
  }
}

int CompareDottedVersions(const std::string& a, const std::string& b) {
  std::vector<unsigned> first;
  std::vector<unsigned> second;
  if (!ParseDottedVersion(a, &first) || !ParseDottedVersion(b, &second)) return 0;
  for (std::size_t i = 0; i < first.size() || i < second.size(); ++i) {
    const unsigned x = i < first.size() ? first[i] : 0;
    const unsigned y = i < second.size() ? second[i] : 0;
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

}  // namespace corvalis
