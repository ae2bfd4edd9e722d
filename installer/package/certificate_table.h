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
