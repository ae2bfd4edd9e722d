#include "common/whole_file.h"

#include <cstdio>

namespace corvalis {

FileRead ReadWholeFile(const std::string& path, std::uint64_t maxBytes, std::string* bytes) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return FileRead::Unreadable;
  std::string data;
  char buffer[65536];
  FileRead result = FileRead::Ok;
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file);
    if (data.size() + got > maxBytes) {
      result = FileRead::TooLarge;
      break;
    }
    data.append(buffer, got);
    if (got < sizeof buffer) {
      if (std::ferror(file)) result = FileRead::Unreadable;
      break;
    }
  }
  std::fclose(file);
  if (result == FileRead::Ok) bytes->swap(data);
  return result;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace corvalis
