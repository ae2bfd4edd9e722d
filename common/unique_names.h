// Names nobody uses yet, the one way both programs pick them: the installer's work folder
// and its temporary files, the uninstaller's private folder and copy, the file that
// replaces one in use. The random source and the file-system tests are passed in so the
// rules can be exercised directly.
#pragma once

#include <cstdint>
#include <string>

#include "common/function_ref.h"

namespace corvalis {

using RandomSource = FunctionRef<std::uint32_t()>;

// A folder where every name seems taken must not hold a run for ever.
constexpr int kFreeNameDraws = 1000;

enum class NameTry { Taken, Done, Failed };

// Draws numbers (random() % numbers), at most kFreeNameDraws of them, and tries
// nameOf(number) until tryName says Done (true, *name that one) or Failed, which every
// number would (false). False too when every draw was Taken; *name is the last one tried.
bool PickFreeName(const RandomSource& random, std::uint32_t numbers,
                  const FunctionRef<std::string(std::uint32_t)>& nameOf,
                  const FunctionRef<NameTry(const std::string&)>& tryName, std::string* name);

enum class FolderAttempt { Created, Exists, Failed };

// Tries parent + prefix + <0..9,999,999> + "\" until tryCreate reports a newly created
// folder. A folder that existed before is never taken. On any other failure returns false
// with the candidate that failed in *folder.
bool CreateUniqueFolder(const std::string& parent, const RandomSource& random,
                        const FunctionRef<FolderAttempt(const std::string&)>& tryCreate,
                        std::string* folder, const std::string& prefix = std::string());

// folder + <0..99,999,999> + ".tmp", drawn again while such a file exists or the name
// equals avoid; empty when every draw was taken.
std::string PickTempFileName(const std::string& folder, const RandomSource& random,
                             const FunctionRef<bool(const std::string&)>& exists,
                             const std::string& avoid = std::string());

}  // namespace corvalis
