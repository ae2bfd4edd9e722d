#include "installer/package/solid_block.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include "Bra.h"
}

namespace corvalis {

namespace {

constexpr UInt32 kLzma2Method = 0x21;
constexpr UInt32 kX86Method = 0x3030103;
// The largest LZMA2 dictionary read (its property byte): 64 MiB, 7-Zip's own strongest.
// A larger one would only take the installer's memory.
constexpr Byte kMostDictionary = 28;

}  // namespace

bool BlockStream::Start(const CSzArEx& archive, UInt32 block, ILookInStreamPtr input) {
  started_ = false;
  const CSzAr& db = archive.db;
  CSzFolder folder;
  CSzData coders = {db.CodersData + db.FoCodersOffsets[block],
                    db.FoCodersOffsets[block + 1] - db.FoCodersOffsets[block]};
  if (SzGetNextFolderItem(&folder, &coders) != SZ_OK || coders.Size != 0) return false;
  const CSzCoderInfo& main = folder.Coders[0];
  const bool plain = folder.NumCoders == 1 && folder.NumBonds == 0;
  filtered_ = folder.NumCoders == 2 && folder.NumBonds == 1 && folder.Bonds[0].InIndex == 1 &&
              folder.Bonds[0].OutIndex == 0 && folder.Coders[1].MethodID == kX86Method &&
              folder.Coders[1].NumStreams == 1;
  if ((!plain && !filtered_) || folder.NumPackStreams != 1 || folder.PackStreams[0] != 0 ||
      main.MethodID != kLzma2Method || main.NumStreams != 1 || main.PropsSize != 1) {
    return false;
  }
  const UInt32 pack = db.FoStartPackStreamIndex[block];
  packLeft_ = db.PackPositions[pack + 1] - db.PackPositions[pack];
  unpackLeft_ = db.CoderUnpackSizes[db.FoToCoderUnpackSizes[block]];
  if (unpackLeft_ != SzAr_GetFolderUnpackSize(&db, block)) return false;
  if (LookInStream_SeekTo(input, archive.dataPos + db.PackPositions[pack]) != SZ_OK) return false;
  const Byte dictionary = db.CodersData[db.FoCodersOffsets[block] + main.PropsOffset];
  if (dictionary > kMostDictionary || Lzma2Dec_Allocate(&decoder_, dictionary, &alloc_) != SZ_OK) return false;
  Lzma2Dec_Init(&decoder_);
  input_ = input;
  state_ = Z7_BRANCH_CONV_ST_X86_STATE_INIT_VAL;
  pc_ = 0;
  readyFrom_ = readyTo_ = filled_ = 0;
  position_ = 0;
  started_ = true;
  return true;
}

long BlockStream::Read(Byte* out, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    if (readyFrom_ == readyTo_) {
      if (unpackLeft_ == 0 && filled_ == readyTo_) break;  // the end
      if (!Refill()) {
        started_ = false;
        return -1;
      }
      continue;
    }
    const std::size_t count = std::min(size - done, readyTo_ - readyFrom_);
    if (out) std::memcpy(out + done, buffer_ + readyFrom_, count);
    readyFrom_ += count;
    done += count;
  }
  position_ += done;
  return static_cast<long>(done);
}

// Decodes more behind what the filter hasn't passed yet; false when the data doesn't
// decode or ends early.
bool BlockStream::Refill() {
  const std::size_t tail = filled_ - readyTo_;
  std::memmove(buffer_, buffer_ + readyTo_, tail);
  filled_ = tail;
  readyFrom_ = readyTo_ = 0;
  while (unpackLeft_ > 0 && filled_ < sizeof buffer_) {
    const void* in = nullptr;
    std::size_t inSize = packLeft_ < kSolidPieceBytes ? static_cast<std::size_t>(packLeft_) : kSolidPieceBytes;
    if (ILookInStream_Look(input_, &in, &inSize) != SZ_OK) return false;
    SizeT outSize = sizeof buffer_ - filled_;
    if (outSize > unpackLeft_) outSize = static_cast<SizeT>(unpackLeft_);
    SizeT used = inSize;
    ELzmaStatus status;
    if (Lzma2Dec_DecodeToBuf(&decoder_, buffer_ + filled_, &outSize, static_cast<const Byte*>(in), &used,
                             LZMA_FINISH_ANY, &status) != SZ_OK ||
        ILookInStream_Skip(input_, used) != SZ_OK) {
      return false;
    }
    if (outSize == 0 && used == 0) return false;
    packLeft_ -= used;
    unpackLeft_ -= outSize;
    filled_ += outSize;
  }
  // The x86 filter looks a few bytes ahead: those wait for the next piece, but at the end
  // they stay as they are.
  readyTo_ = filled_;
  if (filtered_) {
    Byte* passed = z7_BranchConvSt_X86_Dec(buffer_, filled_, pc_, &state_);
    if (unpackLeft_ > 0) readyTo_ = static_cast<std::size_t>(passed - buffer_);
  }
  pc_ += static_cast<UInt32>(readyTo_);
  return true;
}

}  // namespace corvalis
