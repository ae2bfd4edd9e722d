// How a stored ZIP entry name becomes a path below the destination. Shared by the
// installer's unpacking and anyone who needs to predict where an entry ends up.
#pragma once

#include <cstdint>
#include <string>

#include "common/ansi_text.h"

namespace corvalis {

// Case-insensitive wildcard match where "*" stands for any run of characters. A name
// without a dot is matched as if it ended in ".", so "*.*" matches every name.
bool MatchWildcard(const std::string& pattern, const std::string& fileName);

// Drops everything up to and including the first ":\" (an absolute path becomes relative).
std::string DropThroughDriveRoot(const std::string& name);

// The name as Windows would resolve it below a folder: "." and empty components and one
// leading "\" dropped. False when it would leave the folder (a UNC root, a drive or stream
// colon, a ".." component or one that Windows would read as such) or name something else
// than the check sees: a NUL or other control character, a character Windows forbids in
// names, a device name ("CON", "lpt1.txt") as any component.
bool ResolveInsideDestination(const std::string& relativeName, std::string* inside);

// An entry is processed when its file name part matches the pattern ("" means "*.*") or,
// when paths are kept, when it holds no data (folder entries).
bool ShouldProcessEntry(const std::string& pattern, const std::string& convertedName,
                        std::uint64_t uncompressedBytes, bool keepPaths);

enum class EntryKind {
  Folder,
  File,
  Skip,     // a folder entry while paths are not kept
  Refused,  // leaves the destination or is no safe name (ResolveInsideDestination)
};

struct EntryTarget {
  EntryKind kind = EntryKind::Skip;
  std::string relativePath;  // below the destination; a folder's ends in "\"
};

// Where an entry goes, whether or not it is processed.
EntryTarget ResolveEntryTarget(const std::string& convertedName, bool keepPaths);

}  // namespace corvalis
