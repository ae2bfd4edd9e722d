// A solid archive from anywhere: the 7z header reader takes it or refuses it, and every
// block it lists is decoded as a stream, file after file as the installer reads them, to
// its end or refused: never out of bounds, never past a file or its block.
#include <cstdint>
#include <cstring>
#include <vector>

#include "installer/package/solid_block.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" {
#include "7zCrc.h"
}

namespace {

struct MemoryStream {
  ISeekInStream vt;
  const std::uint8_t* data;
  std::size_t size;
  std::size_t position;
};

SRes MemoryRead(ISeekInStreamPtr p, void* buffer, size_t* size) {
  MemoryStream* stream = Z7_CONTAINER_FROM_VTBL(p, MemoryStream, vt);
  const std::size_t left = stream->size - stream->position;
  if (*size > left) *size = left;
  if (*size) std::memcpy(buffer, stream->data + stream->position, *size);
  stream->position += *size;
  return SZ_OK;
}

SRes MemorySeek(ISeekInStreamPtr p, Int64* position, ESzSeek origin) {
  MemoryStream* stream = Z7_CONTAINER_FROM_VTBL(p, MemoryStream, vt);
  const Int64 base = origin == SZ_SEEK_SET ? 0 : origin == SZ_SEEK_CUR ? static_cast<Int64>(stream->position)
                                                                      : static_cast<Int64>(stream->size);
  const Int64 target = base + *position;
  if (target < 0 || target > static_cast<Int64>(stream->size)) return SZ_ERROR_INPUT_EOF;
  stream->position = static_cast<std::size_t>(target);
  *position = target;
  return SZ_OK;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool tableMade = (CrcGenerateTable(), true);
  (void)tableMade;
  ISzAlloc alloc = {SzAlloc, SzFree};
  MemoryStream memory = {{MemoryRead, MemorySeek}, data, size, 0};
  std::vector<Byte> lookBuffer(corvalis::kSolidPieceBytes);
  CLookToRead2 look = {};
  LookToRead2_CreateVTable(&look, False);
  look.buf = lookBuffer.data();
  look.bufSize = lookBuffer.size();
  look.realStream = &memory.vt;
  LookToRead2_INIT(&look);
  CSzArEx archive;
  SzArEx_Init(&archive);
  if (SzArEx_Open(&archive, &look.vt, &alloc, &alloc) == SZ_OK) {
    std::vector<Byte> piece(4096);
    for (UInt32 block = 0; block < archive.db.NumFolders; ++block) {
      corvalis::BlockStream stream;
      if (!stream.Start(archive, block, &look.vt)) continue;
      const UInt64 blockSize = SzAr_GetFolderUnpackSize(&archive.db, block);
      // Each file of the block in turn, as the installer reads them.
      for (UInt32 file = archive.FolderToFile[block]; file < archive.FolderToFile[block + 1]; ++file) {
        UInt64 left = SzArEx_GetFileSize(&archive, file);
        long read = 1;
        while (left > 0 && (read = stream.Read(piece.data(), left < piece.size() ? left : piece.size())) > 0) {
          FUZZ_CHECK(static_cast<UInt64>(read) <= left, "a read past the file");
          left -= static_cast<UInt64>(read);
        }
        if (read <= 0) break;
      }
      FUZZ_CHECK(stream.Position() <= blockSize, "decoded past the block");
    }
  }
  SzArEx_Free(&archive, &alloc);
  return 0;
}
