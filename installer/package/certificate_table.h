// A signed installer: Authenticode signing appends a certificate table after the package
// and names it in the PE header's security directory, so the trailer no longer ends the file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvalis {

// Random access to the bytes of a file.
class ByteReader {
 public:
  // Reads exactly bytes bytes at offset into out; false when that can't be done.
  virtual bool ReadAt(std::int64_t offset, unsigned char* out, std::size_t bytes) = 0;

 protected:
  ~ByteReader() = default;
};

// An entry of a PE image's data directories, with what locating its data needs.
struct PeDirectory {
  std::int64_t entryOffset = 0;  // where the entry itself lies in the file
  std::uint32_t address = 0;     // an RVA, or for the security directory a file offset
  std::uint32_t bytes = 0;
  std::int64_t headersEnd = 0;   // the optional header's end, where the section table begins
  std::uint32_t sections = 0;    // section headers in that table
};

// Data directory `index` of a PE32 or PE32+ image of fileBytes bytes; false when the file is
// no PE image, a header is damaged, or the image has no such directory.
bool ReadPeDirectory(ByteReader& file, std::int64_t fileBytes, std::uint32_t index, PeDirectory* directory);

struct CertificateTable {
  std::int64_t directoryOffset = 0;  // where the security directory entry itself lies
  std::int64_t offset = 0;           // the table's file offset
  std::int64_t bytes = 0;
};

// The certificate table named by the PE security directory of a file of fileBytes bytes.
// false when the file is no PE image, a header is damaged, or no table lies within the file.
bool ReadCertificateTable(ByteReader& file, std::int64_t fileBytes, CertificateTable* table);

// Where the package ends: before a certificate table that ends the file (and the zero bytes
// that align the table), otherwise at the end of the file.
std::int64_t PackageEnd(ByteReader& file, std::int64_t fileBytes);

}  // namespace corvalis
