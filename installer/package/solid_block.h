// One block (a 7z folder) of a solid archive decoded from its start as a stream: LZMA2, then
// the x86 branch filter where the block has it, through a buffer of its own and the LZMA2
// dictionary. Plain 7-Zip project C code underneath, no system calls: also built for fuzzing.
#pragma once

#include <cstddef>

extern "C" {
#include "7z.h"
#include "7zAlloc.h"
#include "Lzma2Dec.h"
}

namespace corvalis {

// Pieces read from the archive and decoded at a time.
constexpr std::size_t kSolidPieceBytes = 1 << 16;

class BlockStream {
 public:
  BlockStream() { Lzma2Dec_Construct(&decoder_); }
  ~BlockStream() { Lzma2Dec_Free(&decoder_, &alloc_); }
  BlockStream(const BlockStream&) = delete;
  BlockStream& operator=(const BlockStream&) = delete;

  // The block at its start: LZMA2 behind the x86 filter or alone, what the builder writes,
  // with a dictionary of at most 64 MiB; false for any other, or when the dictionary can't
  // be had.
  bool Start(const CSzArEx& archive, UInt32 block, ILookInStreamPtr input);
  bool Started() const { return started_; }
  UInt64 Position() const { return position_; }
  // Up to size bytes (to out, or passed over when out is null); 0 at the block's end, below
  // 0 for data that doesn't decode (the stream must be started again).
  long Read(Byte* out, std::size_t size);

 private:
  bool Refill();

  ISzAlloc alloc_ = {SzAlloc, SzFree};
  CLzma2Dec decoder_;
  ILookInStreamPtr input_ = nullptr;
  bool started_ = false;
  bool filtered_ = false;
  UInt64 packLeft_ = 0;
  UInt64 unpackLeft_ = 0;
  UInt32 state_ = 0;
  UInt32 pc_ = 0;
  Byte buffer_[kSolidPieceBytes];
  std::size_t readyFrom_ = 0, readyTo_ = 0, filled_ = 0;
  UInt64 position_ = 0;
};

}  // namespace corvalis
