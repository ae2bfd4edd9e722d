// The solid package's application archive: a 7z archive read through the 7-Zip project's
// public-domain C decoder. A solid block is decoded as a stream (solid_block.h), so memory
// doesn't grow with the block. Entries are read in the byte order of their names (a
// folder's with "/"), the order of a ZIP package: the builder stores the files in that order
// (7-Zip puts the folders first), so a block is decoded once from its start to its end; a
// file that lies behind the point reached has the block decoded again from its start.
#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "installer/package/archive_reader.h"
#include "installer/package/solid_block.h"

extern "C" {
#include "7z.h"
#include "7zAlloc.h"
#include "7zCrc.h"
#include "7zFile.h"
}

namespace corvalis {

namespace {

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
    look_.buf = static_cast<Byte*>(ISzAlloc_Alloc(&alloc_, kSolidPieceBytes));
    if (!look_.buf) return false;
    look_.bufSize = kSolidPieceBytes;
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
      if (stream_.Read(nullptr, left < kSolidPieceBytes ? static_cast<std::size_t>(left) : kSolidPieceBytes) <= 0) {
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
  return size >= k7zSignatureSize && std::memcmp(bytes, k7zSignature, k7zSignatureSize) == 0;
}

std::unique_ptr<ArchiveReader> OpenSolidArchive(const std::string& path) {
  std::unique_ptr<SolidReader> reader(new (std::nothrow) SolidReader);
  if (!reader || !reader->OpenArchive(path)) return nullptr;
  return reader;
}

}  // namespace corvalis
