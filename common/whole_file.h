// Reading a whole file into memory and writing one out, the one way both programs and the
// package builder do it. Plain C file calls, so it builds natively too.
#pragma once

#include <cstdint>
#include <string>

namespace corvalis {

enum class FileRead { Ok, TooLarge, Unreadable };

// The whole file at path into *bytes. A file of more than maxBytes is not kept (TooLarge):
// a caller's limit stands for what the file may sensibly hold. *bytes is left alone unless Ok.
FileRead ReadWholeFile(const std::string& path, std::uint64_t maxBytes, std::string* bytes);

// bytes as the whole file at path (made or replaced); false when any of it isn't written.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace corvalis
