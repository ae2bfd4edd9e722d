#include "common/ansi_text.h"

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
  if (path.size() >= 3 && path[0] == '\\' && path[1] == '\\') return path[2] != '\\';
  const char drive = static_cast<char>(path.empty() ? 0 : (path[0] | 0x20));
  return path.size() >= 3 && drive >= 'a' && drive <= 'z' && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

int PathDepth(const std::string& path) { return static_cast<int>(std::count(path.begin(), path.end(), '\\')); }

std::string SlashesToBackslashes(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

}  // namespace corvalis
