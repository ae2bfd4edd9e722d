#include "installer/package/entry_names.h"

#include <cctype>

namespace corvalis {

std::string SlashesToBackslashes(std::string name) {
  for (char& c : name)
    if (c == '/') c = '\\';
  return name;
}

std::string FileNamePart(const std::string& name) {
  std::string::size_type slash = name.rfind('\\');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool MatchFrom(const std::string& p, std::size_t pi, const std::string& s, std::size_t si) {
  // Iterative "*" matching with one back-track point, linear in practice.
  std::size_t starP = std::string::npos, starS = 0;
  while (si < s.size()) {
    if (pi < p.size() && p[pi] == '*') {
      starP = pi++;
      starS = si;
    } else if (pi < p.size() && Lower(p[pi]) == Lower(s[si])) {
      ++pi;
      ++si;
    } else if (starP != std::string::npos) {
      pi = starP + 1;
      si = ++starS;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

// Windows drops trailing dots and spaces from a path component, so "..." or ". ." would
// climb like "..".
bool IsDotsOnly(const std::string& component) {
  std::string::size_type end = component.find_last_not_of(". ");
  return end == std::string::npos && !component.empty();
}

}  // namespace

bool MatchWildcard(const std::string& pattern, const std::string& fileName) {
  std::string name = fileName;
  if (name.find('.') == std::string::npos) name += '.';
  return MatchFrom(pattern, 0, name, 0);
}

std::string DropThroughDriveRoot(const std::string& name) {
  std::string::size_type root = name.find(":\\");
  return root == std::string::npos ? name : name.substr(root + 2);
}

bool StaysInsideDestination(const std::string& relativeName) {
  if (relativeName.empty() || relativeName[0] == '\\') return false;
  if (relativeName.find(':') != std::string::npos) return false;
  std::string::size_type start = 0;
  for (;;) {
    std::string::size_type end = relativeName.find('\\', start);
    std::string component = relativeName.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (IsDotsOnly(component)) return false;
    if (end == std::string::npos) return true;
    start = end + 1;
  }
}

bool ShouldProcessEntry(const std::string& pattern, const std::string& convertedName,
                        std::uint64_t uncompressedBytes, bool keepPaths) {
  const std::string& effective = pattern.empty() ? std::string("*.*") : pattern;
  if (MatchWildcard(effective, FileNamePart(convertedName))) return true;
  return keepPaths && uncompressedBytes == 0;
}

EntryTarget ResolveEntryTarget(const std::string& convertedName, bool keepPaths) {
  EntryTarget target;
  if (!keepPaths) {
    std::string fileName = FileNamePart(convertedName);
    if (fileName.empty()) return target;
    if (!StaysInsideDestination(fileName)) {
      target.kind = EntryKind::Outside;
      return target;
    }
    target.kind = EntryKind::File;
    target.relativePath = fileName;
    return target;
  }
  std::string relative = DropThroughDriveRoot(convertedName);
  bool isFolder = !relative.empty() && relative.back() == '\\';
  std::string checked = isFolder ? relative.substr(0, relative.size() - 1) : relative;
  if (!StaysInsideDestination(checked)) {
    target.kind = EntryKind::Outside;
    return target;
  }
  target.kind = isFolder ? EntryKind::Folder : EntryKind::File;
  target.relativePath = relative;
  return target;
}

}  // namespace corvalis
