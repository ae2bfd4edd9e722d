// The solid package's application archive: a 7z archive read through the 7-Zip project's
// public-domain C decoder. A solid block is decoded as a stream, through a buffer of its
// own and the LZMA2 dictionary, so memory doesn't grow with the block. Entries are read in
// the byte order of their names (a folder's with "/"), the order of a ZIP package: the
// builder stores the files in that order (7-Zip puts the folders first), so a block is
// decoded once from its start to its end; a file that lies behind the point reached has the
// block decoded again from its start.
#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "installer/package/archive_reader.h"

extern "C" {
#include "7z.h"
#include "7zAlloc.h"
#include "7zCrc.h"
#include "7zFile.h"
#include "Bra.h"
#include "Lzma2Dec.h"
}

namespace corvalis {

namespace {

constexpr std::size_t kInputBufferBytes = 1 << 16;
constexpr std::size_t kOutputBufferBytes = 1 << 16;
constexpr UInt32 kLzma2Method = 0x21;
constexpr UInt32 kX86Method = 0x3030103;
// The largest LZMA2 dictionary read (its property byte): 64 MiB, 7-Zip's own strongest.
// A larger one would only take the installer's memory.
constexpr Byte kMostDictionary = 28;

// One block (a 7z folder) decoded from its start as a stream: LZMA2, then the x86 branch
// filter where the block has it; what the builder writes, nothing else.
class BlockStream {
 public:
  BlockStream() { Lzma2Dec_Construct(&decoder_); }
  ~BlockStream() { Lzma2Dec_Free(&decoder_, &alloc_); }
  BlockStream(const BlockStream&) = delete;
  BlockStream& operator=(const BlockStream&) = delete;

  // The block at its start; false when it is none that this reads, or its dictionary can't
  // be had.
  bool Start(const CSzArEx& archive, UInt32 block, ILookInStreamPtr input) {
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
  bool Started() const { return started_; }
  UInt64 Position() const { return position_; }

  // Up to size bytes (to out, or passed over when out is null); 0 at the block's end, below
  // 0 for data that doesn't decode (the stream must be started again).
  long Read(Byte* out, std::size_t size) {
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

 private:
  // Decodes more behind what the filter hasn't passed yet; false when the data doesn't
  // decode or ends early.
  bool Refill() {
    const std::size_t tail = filled_ - readyTo_;
    std::memmove(buffer_, buffer_ + readyTo_, tail);
    filled_ = tail;
    readyFrom_ = readyTo_ = 0;
    while (unpackLeft_ > 0 && filled_ < sizeof buffer_) {
      const void* in = nullptr;
      std::size_t inSize = packLeft_ < kInputBufferBytes ? static_cast<std::size_t>(packLeft_) : kInputBufferBytes;
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

  ISzAlloc alloc_ = {SzAlloc, SzFree};
  CLzma2Dec decoder_;
  ILookInStreamPtr input_ = nullptr;
  bool started_ = false;
  bool filtered_ = false;
  UInt64 packLeft_ = 0;
  UInt64 unpackLeft_ = 0;
  UInt32 state_ = 0;
  UInt32 pc_ = 0;
  Byte buffer_[kOutputBufferBytes];
  std::size_t readyFrom_ = 0, readyTo_ = 0, filled_ = 0;
  UInt64 position_ = 0;
};
constexpr unsigned char kSignature[] = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C};
// Only what a file may carry onto the customer's disk: read-only, hidden, system, archive.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

class SolidReader final : public ArchiveReader {
 public:
  SolidReader() {
    SzArEx_Init(&db_);
    file_.file.handle = INVALID_HANDLE_VALUE;
  }
  ~SolidReader() override {
    SzArEx_Free(&db_, &alloc_);
    if (look_.buf) ISzAlloc_Free(&alloc_, look_.buf);
    if (file_.file.handle != INVALID_HANDLE_VALUE) File_Close(&file_.file);
  }
  SolidReader(const SolidReader&) = delete;
  SolidReader& operator=(const SolidReader&) = delete;

  bool OpenArchive(const std::string& path) {
    if (InFile_Open(&file_.file, path.c_str()) != 0) return false;
    FileInStream_CreateVTable(&file_);
    file_.wres = 0;
    LookToRead2_CreateVTable(&look_, False);
    look_.buf = static_cast<Byte*>(ISzAlloc_Alloc(&alloc_, kInputBufferBytes));
    if (!look_.buf) return false;
    look_.bufSize = kInputBufferBytes;
    look_.realStream = &file_.vt;
    LookToRead2_INIT(&look_);
    static const bool tableMade = (CrcGenerateTable(), true);
    (void)tableMade;
    return SzArEx_Open(&db_, &look_.vt, &alloc_, &alloc_) == SZ_OK;
  }

  unsigned long Count() override { return db_.NumFiles; }
  bool First() override {
    if (order_.empty()) SortByName();
    orderPosition_ = 0;
    return Select();
  }
  bool Next() override {
    ++orderPosition_;
    return Select();
  }

  bool Current(ArchiveEntry* entry) override {
    if (index_ >= db_.NumFiles) return false;
    entry->storedName = names_[index_];
    const bool folder = SzArEx_IsDir(&db_, index_);
    entry->utf8 = true;
    entry->size = folder ? 0 : SzArEx_GetFileSize(&db_, index_);
    entry->modified = {};
    if (SzBitWithVals_Check(&db_.MTime, index_)) {
      entry->modified.dwLowDateTime = db_.MTime.Vals[index_].Low;
      entry->modified.dwHighDateTime = db_.MTime.Vals[index_].High;
    }
    entry->attributes = SzBitWithVals_Check(&db_.Attribs, index_) ? db_.Attribs.Vals[index_] & kKeptAttributes
                                                                   : FILE_ATTRIBUTE_ARCHIVE;
    if (folder) entry->attributes |= FILE_ATTRIBUTE_DIRECTORY;
    return true;
  }

  bool Open() override {
    position_ = length_ = 0;
    crc_ = CRC_INIT_VAL;
    if (index_ >= db_.NumFiles) return false;
    const UInt32 block = db_.FileToFolder[index_];
    if (SzArEx_IsDir(&db_, index_) || block == 0xFFFFFFFF) return true;  // nothing to decode
    const UInt64 offset = db_.UnpackPositions[index_] - db_.UnpackPositions[db_.FolderToFile[block]];
    if (!stream_.Started() || streamBlock_ != block || stream_.Position() > offset) {
      streamBlock_ = block;
      if (!stream_.Start(db_, block, &look_.vt)) return false;
    }
    while (stream_.Position() < offset) {
      const UInt64 left = offset - stream_.Position();
      if (stream_.Read(nullptr, left < kInputBufferBytes ? static_cast<std::size_t>(left) : kInputBufferBytes) <= 0) {
        return false;
      }
    }
    length_ = SzArEx_GetFileSize(&db_, index_);
    return true;
  }

  int Read(char* piece, unsigned size) override {
    const UInt64 left = length_ - position_;
    const std::size_t count = left < size ? static_cast<std::size_t>(left) : size;
    if (count == 0) return 0;
    const long read = stream_.Read(reinterpret_cast<Byte*>(piece), count);
    if (read <= 0) return -1;  // damaged, or the block ends before the file
    crc_ = CrcUpdate(crc_, piece, static_cast<std::size_t>(read));
    position_ += static_cast<UInt64>(read);
    return static_cast<int>(read);
  }

  // The CRC is compared once the whole file was read.
  bool Close() override {
    return position_ < length_ || !SzBitWithVals_Check(&db_.CRCs, index_) ||
           CRC_GET_DIGEST(crc_) == db_.CRCs.Vals[index_];
  }

 private:
  // Every name in UTF-8 ("\" as "/", a folder's ending in "/"), and the entries by name.
  void SortByName() {
    names_.resize(db_.NumFiles);
    for (UInt32 i = 0; i < db_.NumFiles; ++i) {
      std::vector<UInt16> name(SzArEx_GetFileNameUtf16(&db_, i, nullptr));
      // UTF-16 with its NUL, which the conversion leaves out.
      const int length = static_cast<int>(SzArEx_GetFileNameUtf16(&db_, i, name.data())) - 1;
      const wchar_t* wide = reinterpret_cast<const wchar_t*>(name.data());
      const int bytes = length > 0 ? WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr) : 0;
      std::string& text = names_[i];
      text.assign(bytes > 0 ? static_cast<std::size_t>(bytes) : 0, '\0');
      if (bytes > 0) WideCharToMultiByte(CP_UTF8, 0, wide, length, &text[0], bytes, nullptr, nullptr);
      for (char& c : text) {
        if (c == '\\') c = '/';
      }
      if (SzArEx_IsDir(&db_, i)) text += '/';
      order_.push_back(i);
    }
    std::stable_sort(order_.begin(), order_.end(), [this](UInt32 a, UInt32 b) { return names_[a] < names_[b]; });
  }
  bool Select() {
    index_ = orderPosition_ < order_.size() ? order_[orderPosition_] : db_.NumFiles;
    return index_ < db_.NumFiles;
  }

  ISzAlloc alloc_ = {SzAlloc, SzFree};
  CFileInStream file_ = {};
  CLookToRead2 look_ = {};
  CSzArEx db_ = {};
  std::vector<std::string> names_;
  std::vector<UInt32> order_;
  std::size_t orderPosition_ = 0;
  UInt32 index_ = 0;
  BlockStream stream_;
  UInt32 streamBlock_ = 0;
  UInt64 length_ = 0;
  UInt64 position_ = 0;
  UInt32 crc_ = CRC_INIT_VAL;
};

}  // namespace

bool HasSolidSignature(const char* bytes, std::size_t size) {
  return size >= sizeof kSignature && std::memcmp(bytes, kSignature, sizeof kSignature) == 0;
}

std::unique_ptr<ArchiveReader> OpenSolidArchive(const std::string& path) {
  std::unique_ptr<SolidReader> reader(new (std::nothrow) SolidReader);
  if (!reader || !reader->OpenArchive(path)) return nullptr;
  return reader;
}

}  // namespace corvalis
