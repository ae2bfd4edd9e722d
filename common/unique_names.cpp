#include "common/unique_names.h"

#include "common/ansi_text.h"

namespace corvalis {

namespace {
constexpr std::uint32_t kWorkFolderNumbers = 10000000;  // 0 .. 9,999,999
constexpr std::uint32_t kTempFileNumbers = 100000000;   // 0 .. 99,999,999
}  // namespace

bool PickFreeName(const RandomSource& random, std::uint32_t numbers,
                  const FunctionRef<std::string(std::uint32_t)>& nameOf,
                  const FunctionRef<NameTry(const std::string&)>& tryName, std::string* name) {
  for (int draw = 0; draw < kFreeNameDraws; ++draw) {
    *name = nameOf(random() % numbers);
    const NameTry result = tryName(*name);
    if (result != NameTry::Taken) return result == NameTry::Done;
  }
  return false;
}

bool CreateUniqueFolder(const std::string& parent, const RandomSource& random,
                        const FunctionRef<FolderAttempt(const std::string&)>& tryCreate,
                        std::string* folder, const std::string& prefix) {
  const std::string base = WithTrailingBackslash(parent) + prefix;
  return PickFreeName(
      random, kWorkFolderNumbers, [&base](std::uint32_t n) { return base + std::to_string(n) + "\\"; },
      [&tryCreate](const std::string& candidate) {
        // Anything but "exists" would fail for every number alike.
        switch (tryCreate(candidate)) {
          case FolderAttempt::Created: return NameTry::Done;
          case FolderAttempt::Exists: return NameTry::Taken;
          case FolderAttempt::Failed: break;
        }
        return NameTry::Failed;
      },
      folder);
}

std::string PickTempFileName(const std::string& folder, const RandomSource& random,
                             const FunctionRef<bool(const std::string&)>& exists,
                             const std::string& avoid) {
  std::string name;
  const bool picked = PickFreeName(
      random, kTempFileNumbers, [&folder](std::uint32_t n) { return folder + std::to_string(n) + ".tmp"; },
      [&](const std::string& candidate) {
        return candidate != avoid && !exists(candidate) ? NameTry::Done : NameTry::Taken;
      },
      &name);
  return picked ? name : std::string();
}

}  // namespace corvalis
