#include "installer/package/copy_file_range.h"

#include <memory>
#include <new>

#include "installer/package/package_layout.h"

namespace corvalis {

namespace {

void CopyPiece(HANDLE source, HANDLE target, char* buffer, DWORD bytes) {
  DWORD read = 0, written = 0;
  ReadFile(source, buffer, bytes, &read, nullptr);
  if (read) WriteFile(target, buffer, read, &written, nullptr);
}

}  // namespace

int CopyFileRange(HANDLE source, HANDLE target, std::int32_t offset, std::int32_t count,
                  const CopyProgress& progress) {
  std::unique_ptr<char[]> buffer(new (std::nothrow) char[kCopyChunkBytes]);
  if (!buffer) return 0;
  SetFilePointer(source, offset, nullptr, FILE_BEGIN);
  const std::uint32_t total = static_cast<std::uint32_t>(count);
  const std::uint32_t chunks = total / kCopyChunkBytes;
  const std::uint32_t rest = total % kCopyChunkBytes;
  for (std::uint32_t i = 1; i <= chunks; ++i) {
    CopyPiece(source, target, buffer.get(), kCopyChunkBytes);
    if (progress) progress(static_cast<int>(i * 100 / chunks));
  }
  if (rest) CopyPiece(source, target, buffer.get(), rest);
  return 1;
}

}  // namespace corvalis
