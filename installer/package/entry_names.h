// How a stored ZIP entry name becomes a path below the destination. Shared by the
// installer's unpacking and anyone who needs to predict where an entry ends up.
#pragma once

#include <cstdint>
#include <string>

namespace corvalis {

// Every "/" becomes "\" (the name is already in the ANSI code page).
std::string SlashesToBackslashes(std::string name);

// The text after the last "\" (the whole name when there is none).
std::string FileNamePart(const std::string& name);

// Case-insensitive wildcard match where "*" stands for any run of characters. A name
// without a dot is matched as if it ended in ".", so "*.*" matches every name.
bool MatchWildcard(const std::string& pattern, const std::string& fileName);

// Drops everything up to and including the first ":\" (an absolute path becomes relative).
std::string DropThroughDriveRoot(const std::string& name);

// True when name, appended to a folder, names something inside that folder: not rooted,
// no drive or stream colon, no ".." component (nor one that Windows would read as such).
bool StaysInsideDestination(const std::string& relativeName);

// An entry is processed when its file name part matches the pattern ("" means "*.*") or,
// when paths are kept, when it holds no data (folder entries).
bool ShouldProcessEntry(const std::string& pattern, const std::string& convertedName,
                        std::uint64_t uncompressedBytes, bool keepPaths);

enum class EntryKind {
  Folder,
  File,
  Skip,     // a folder entry while paths are not kept
  Outside,  // the name would leave the destination
};

struct EntryTarget {
  EntryKind kind = EntryKind::Skip;
  std::string relativePath;  // below the destination; a folder's ends in "\"
};

// Where a processed entry goes.
EntryTarget ResolveEntryTarget(const std::string& convertedName, bool keepPaths);

}  // namespace corvalis
