// The one ZIP unpacking routine of the installer, with its process-wide progress hook.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace corvalis {

// name: the entry's name as converted (ANSI, "\" separators); percent: entries gone
// through so far / entry count * 100. After the last entry: "" and 100. An entry that was
// skipped because its name would leave the destination is reported with an empty name,
// so that nobody records (and later deletes) a path outside the destination.
using ExtractProgressHook = std::function<void(const std::string& name, float percent)>;

// Installs the hook for every later ExtractArchive call; an empty hook removes it.
void SetExtractProgressHook(ExtractProgressHook hook);

// For the hook: the running ExtractArchive stops after the current entry, closes the
// archive (so that it can be deleted) and returns without the final report.
void StopExtractArchive();

// Unpacks into destinationFolder every entry of archivePath whose file name matches the
// wildcard pattern ("" = "*.*"). keepPaths 1 recreates the archive's folders, 0 puts
// every file straight into the destination. An archive that can't be opened is ignored.
void ExtractArchive(const std::string& archivePath, const std::string& pattern,
                    const std::string& destinationFolder, int keepPaths);

// Where the entries of archivePath go below a destination when unpacked with their
// folders (a folder's path ends in "\"), in archive order, names that would leave the
// destination left out. Reads only the archive's directory.
std::vector<std::string> ArchiveTargets(const std::string& archivePath);

// A stored entry name in the OEM code page -> ANSI, with "/" turned into "\".
std::string ConvertEntryName(const std::string& storedName);

}  // namespace corvalis
