#include "installer/package/unique_names.h"

#include "common/ansi_text.h"

namespace corvalis {

namespace {
constexpr std::uint32_t kWorkFolderNumbers = 10000000;  // 0 .. 9,999,999
constexpr std::uint32_t kTempFileNumbers = 100000000;   // 0 .. 99,999,999
}  // namespace

bool CreateUniqueFolder(const std::string& parent, const RandomSource& random,
                        const std::function<FolderAttempt(const std::string&)>& tryCreate,
                        std::string* folder, const std::string& prefix) {
  const std::string base = WithTrailingBackslash(parent) + prefix;
  for (;;) {
    std::string candidate = base + std::to_string(random() % kWorkFolderNumbers) + "\\";
    FolderAttempt attempt = tryCreate(candidate);
    if (attempt == FolderAttempt::Exists) continue;
    *folder = candidate;
    // Anything but "exists" would fail for every number alike; retrying would never end.
    return attempt == FolderAttempt::Created;
  }
}

std::string PickTempFileName(const std::string& folder, const RandomSource& random,
                             const std::function<bool(const std::string&)>& exists,
                             const std::string& avoid) {
  for (;;) {
    std::string candidate = folder + std::to_string(random() % kTempFileNumbers) + ".tmp";
    if (candidate != avoid && !exists(candidate)) return candidate;
  }
}

}  // namespace corvalis
