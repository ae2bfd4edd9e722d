// An archive read entry after entry, in its own order: a ZIP through minizip, a solid 7z
// through the 7-Zip project's decoder. The unpacking (extract_archive.cpp) sees only this.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

namespace corvalis {

struct ArchiveEntry {
  std::string storedName;  // "/" separated, a folder's ending in "/"; UTF-8 when utf8, else OEM
  bool utf8 = false;
  std::uint64_t size = 0;
  FILETIME modified = {};  // UTC; zero when the archive keeps none
  DWORD attributes = 0;    // FILE_ATTRIBUTE_* as the archive keeps them
};

// Where an entry is, for another reader of the same archive to go to.
struct EntryPlace {
  std::uint64_t offset = 0;
  std::uint64_t number = 0;
};

class ArchiveReader {
 public:
  virtual ~ArchiveReader() = default;
  virtual unsigned long Count() = 0;
  // Goes to the first, or the next, entry; false after the last.
  virtual bool First() = 0;
  virtual bool Next() = 0;
  // The current entry; false when its directory record can't be read.
  virtual bool Current(ArchiveEntry* entry) = 0;
  // Its data: opened, read in pieces (bytes read, 0 at the end, below 0 for damaged data),
  // closed (false when the whole of it doesn't match its checksum).
  virtual bool Open() = 0;
  virtual int Read(char* piece, unsigned size) = 0;
  virtual bool Close() = 0;
  // Another reader of the same archive, for another thread: it goes to an entry by its
  // place. nullptr when entries can only be read in turn (a solid archive).
  virtual std::unique_ptr<ArchiveReader> Another() { return nullptr; }
  virtual bool Where(EntryPlace*) { return false; }
  virtual bool GoTo(const EntryPlace&) { return false; }
};

// The archive at path by its signature, opened; nullptr when it can't be read as either.
std::unique_ptr<ArchiveReader> OpenArchiveReader(const std::string& path);

// The solid 7z reader (solid_archive.cpp); nullptr when path is no 7z archive it can read.
std::unique_ptr<ArchiveReader> OpenSolidArchive(const std::string& path);

// Whether the bytes begin as a 7z archive does.
bool HasSolidSignature(const char* bytes, std::size_t size);

}  // namespace corvalis
