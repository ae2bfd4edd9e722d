// The private work folder under the temporary folder and the one way out of the
// installer once it exists.
#pragma once

namespace corvalis {

// Deletes WorkFolder with everything in it (read-only files too), if it is set, and the
// private folder around it in an elevated run.
void RemoveWorkFolder();

// RemoveWorkFolder, then ends the process with exitCode (common/exit_codes.h), which the
// log's last line names.
[[noreturn]] void AbortInstaller(int exitCode);

}  // namespace corvalis
