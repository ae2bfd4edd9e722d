// Names of the work folder and of the temporary files inside it. The random source and
// the file-system tests are passed in so the retry rules can be exercised directly.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace corvalis {

using RandomSource = std::function<std::uint32_t()>;

enum class FolderAttempt { Created, Exists, Failed };

// Tries parent + prefix + <0..9,999,999> + "\" until tryCreate reports a newly created
// folder. A folder that existed before is never taken. On any other failure returns false
// with the candidate that failed in *folder.
bool CreateUniqueFolder(const std::string& parent, const RandomSource& random,
                        const std::function<FolderAttempt(const std::string&)>& tryCreate,
                        std::string* folder, const std::string& prefix = std::string());

// folder + <0..99,999,999> + ".tmp", drawn again while such a file exists or the name
// equals avoid.
std::string PickTempFileName(const std::string& folder, const RandomSource& random,
                             const std::function<bool(const std::string&)>& exists,
                             const std::string& avoid = std::string());

}  // namespace corvalis
