// The one unpacking routine of the installer (ZIP or solid 7z), with its process-wide hooks.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace corvalis {

// name: where the entry went below the destination (ANSI, "\" separators; the converted
// name for an entry the pattern passes over); percent: entries gone
// through so far / entry count * 100. After the last entry: "" and 100. An entry whose name
// is refused (entry_names.h), a file that couldn't be written whole or a folder that
// couldn't be made is reported with an empty name: nobody records a path outside the
// destination, or one that isn't there.
using ExtractProgressHook = std::function<void(const std::string& name, float percent)>;

// Installs the hook for every later ExtractArchive call; an empty hook removes it.
void SetExtractProgressHook(ExtractProgressHook hook);

// What to do about a file of the archive that can't be created or written (path, and the
// system's error code, or kDamagedEntryError for data that doesn't inflate or fails its
// CRC): skip it, try again, stop the unpacking (as StopExtractArchive), or (only when it
// can't be created) write it beside the file that is in the way and have it replace that
// one at the next restart. A file that failed is never left partly written.
enum class WriteFailure { Skip, Retry, Stop, ReplaceAtRestart };
constexpr unsigned long kDamagedEntryError = 23;  // ERROR_CRC
using ExtractFailureHook = std::function<WriteFailure(const std::string& path, unsigned long error)>;
// Installs the failure hook for every later ExtractArchive call; without one a file that
// can't be created is skipped.
void SetExtractFailureHook(ExtractFailureHook hook);
// A file the last ExtractArchive left to replace at the next restart: Target is in the
// way (in use), NewContent beside it holds what is to take its place.
struct Replacement {
  std::string Target;
  std::string NewContent;
};
const std::vector<Replacement>& ReplacedAtRestart();

// For the hook: the running ExtractArchive stops after the current entry, closes the
// archive (so that it can be deleted) and returns without the final report.
void StopExtractArchive();

// Unpacks into destinationFolder every entry of archivePath whose file name matches the
// wildcard pattern ("" = "*.*"). Files may be written on several threads; the hooks are
// called on the calling thread, entry after entry in the archive's order. keepPaths 1 recreates the archive's folders, 0 puts
// every file straight into the destination. An archive that can't be opened is ignored.
// Paths of any length are written (common/long_paths.h).
void ExtractArchive(const std::string& archivePath, const std::string& pattern,
                    const std::string& destinationFolder, int keepPaths);

// What an archive's directory says of its names, read before anything is unpacked.
struct ArchiveNames {
  bool readable = false;
  // Where the entries go below a destination when unpacked with their folders (a folder's
  // path ends in "\"), in archive order, refused names left out.
  std::vector<std::string> targets;
  bool anyRefused = false;
  std::string refused;  // the first name ResolveEntryTarget refuses, control characters as "?"
  std::string firstForeign;  // UTF-8; empty when every name fits the ANSI code page
};
ArchiveNames ReadArchiveNames(const std::string& archivePath);

// Control characters as "?", for a message or a log line.
std::string PrintableName(std::string name);

// A stored entry name as unpacking reads it, with "/" turned into "\": from UTF-8 when the
// entry says so (flag bit 11), else from the OEM code page. A UTF-8 name that the ANSI code
// page can hold is used in ANSI, as every other name; one it can't ("Łódź.txt" under code
// page 1252) is foreign: checked and kept in UTF-8, and created through the wide calls.
struct EntryName {
  std::string text;      // ANSI, or UTF-8 when foreign
  bool foreign = false;
};
EntryName ConvertEntryName(const std::string& storedName, bool utf8);

// The real name (UTF-8, relative to the destination) of the foreign entry the progress hook
// is reporting now; empty for every other entry. The reported name is its short (8.3) path.
const std::string& ReportedForeignName();

// Whether a volume at or above folder gives short (8.3) names to names the ANSI code page
// can't hold, so that the uninstaller can remove such files: tried with a file of its own
// that is deleted again.
bool KeepsShortNames(const std::string& folder);

}  // namespace corvalis
