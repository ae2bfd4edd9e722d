#include "installer/package/entry_names.h"

namespace corvalis {

namespace {

bool MatchFrom(const std::string& p, std::size_t pi, const std::string& s, std::size_t si) {
  // Iterative "*" matching with one back-track point, linear in practice.
  std::size_t starP = std::string::npos, starS = 0;
  while (si < s.size()) {
    if (pi < p.size() && p[pi] == '*') {
      starP = pi++;
      starS = si;
    } else if (pi < p.size() && p[pi] == s[si]) {
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
// climb like "..". A lone "." stays where it is.
bool ClimbsOut(const std::string& component) {
  return component != "." && !component.empty() &&
         component.find_first_not_of(". ") == std::string::npos;
}

// A name the file calls would read otherwise than the check does: they stop at a NUL, and
// control characters or these would change a record's meaning or a path's.
bool HoldsForbiddenCharacter(const std::string& name) {
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return true;
  }
  return name.find_first_of("<>:\"|?*") != std::string::npos;
}

// "CON", "lpt1.txt", "Nul  .log": the system opens the device, in any folder.
bool IsDeviceName(const std::string& component) {
  std::string base = ToLowerAnsi(component.substr(0, component.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  static const char* const kDevices[] = {"con", "prn", "aux", "nul", "conin$", "conout$"};
  for (const char* device : kDevices) {
    if (base == device) return true;
  }
  return base.size() == 4 && (base.compare(0, 3, "com") == 0 || base.compare(0, 3, "lpt") == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

}  // namespace

bool MatchWildcard(const std::string& pattern, const std::string& fileName) {
  std::string name = ToLowerAnsi(fileName);
  if (name.find('.') == std::string::npos) name += '.';
  return MatchFrom(ToLowerAnsi(pattern), 0, name, 0);
}

std::string DropThroughDriveRoot(const std::string& name) {
  std::string::size_type root = name.find(":\\");
  return root == std::string::npos ? name : name.substr(root + 2);
}

bool ResolveInsideDestination(const std::string& relativeName, std::string* inside) {
  if (relativeName.compare(0, 2, "\\\\") == 0) return false;  // a UNC root
  if (HoldsForbiddenCharacter(relativeName)) return false;
  std::string resolved;
  std::string::size_type start = 0;
  for (;;) {
    const std::string::size_type end = relativeName.find('\\', start);
    const std::string component = relativeName.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (ClimbsOut(component) || IsDeviceName(component)) return false;
    if (!component.empty() && component != ".") {
      if (!resolved.empty()) resolved += '\\';
      resolved += component;
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  *inside = resolved;
  return true;
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
    const std::string fileName = FileNamePart(convertedName);
    if (fileName.empty()) return target;
    std::string inside;
    if (!ResolveInsideDestination(fileName, &inside) || inside.empty()) {
      target.kind = EntryKind::Refused;
      return target;
    }
    target.kind = EntryKind::File;
    target.relativePath = inside;
    return target;
  }
  const std::string relative = DropThroughDriveRoot(convertedName);
  const bool isFolder = !relative.empty() && relative.back() == '\\';
  std::string inside;
  if (!ResolveInsideDestination(isFolder ? relative.substr(0, relative.size() - 1) : relative, &inside) ||
      (!isFolder && inside.empty())) {
    target.kind = EntryKind::Refused;
    return target;
  }
  target.kind = isFolder ? EntryKind::Folder : EntryKind::File;
  target.relativePath = isFolder && !inside.empty() ? inside + "\\" : inside;
  return target;
}

}  // namespace corvalis
