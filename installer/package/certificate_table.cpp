#include "installer/package/certificate_table.h"

#include "installer/package/package_layout.h"

namespace corvalis {

namespace {

constexpr std::int64_t kPeHeaderOffsetField = 0x3C;
constexpr std::int64_t kPeSignatureBytes = 4;
constexpr std::int64_t kCoffHeaderBytes = 20;
constexpr std::int64_t kSectionCountField = 2;         // within the COFF header
constexpr std::int64_t kOptionalHeaderSizeField = 16;  // within the COFF header
constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::int64_t kPe32DirectoriesOffset = 96;  // within the optional header
constexpr std::int64_t kPe32PlusDirectoriesOffset = 112;
constexpr std::uint32_t kSecurityDirectoryIndex = 4;
constexpr std::int64_t kDirectoryEntryBytes = 8;
constexpr std::uint32_t kCertificateHeaderBytes = 8;  // the first certificate's length, revision, type
// Signers pad the file with zero bytes so that the table starts on an 8-byte boundary.
constexpr std::int64_t kMostPaddingBytes = 7;

// A read that stays inside the file whatever the header claims.
bool ReadInside(ByteReader& file, std::int64_t fileBytes, std::int64_t offset, unsigned char* out,
                std::size_t bytes) {
  if (offset < 0 || offset > fileBytes || std::int64_t(bytes) > fileBytes - offset) return false;
  return file.ReadAt(offset, out, bytes);
}

}  // namespace

bool ReadPeDirectory(ByteReader& file, std::int64_t fileBytes, std::uint32_t index, PeDirectory* directory) {
  unsigned char dos[kPeHeaderOffsetField + 4];
  if (!ReadInside(file, fileBytes, 0, dos, sizeof(dos)) || dos[0] != 'M' || dos[1] != 'Z') return false;
  const std::int64_t peHeader = ReadLe32(dos + kPeHeaderOffsetField);

  unsigned char pe[kPeSignatureBytes + kCoffHeaderBytes + 2];
  if (!ReadInside(file, fileBytes, peHeader, pe, sizeof(pe)) || pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 ||
      pe[3] != 0)
    return false;
  const std::int64_t optionalBytes = ReadLe16(pe + kPeSignatureBytes + kOptionalHeaderSizeField);
  const std::int64_t optional = peHeader + kPeSignatureBytes + kCoffHeaderBytes;
  const std::uint16_t magic = ReadLe16(pe + kPeSignatureBytes + kCoffHeaderBytes);
  const std::int64_t directories = magic == kPe32Magic       ? kPe32DirectoriesOffset
                                   : magic == kPe32PlusMagic ? kPe32PlusDirectoriesOffset
                                                             : 0;
  if (directories == 0) return false;
  const std::int64_t entry = directories + std::int64_t(index) * kDirectoryEntryBytes;
  if (optionalBytes < entry + kDirectoryEntryBytes) return false;

  unsigned char count[4];
  unsigned char fields[kDirectoryEntryBytes];
  if (!ReadInside(file, fileBytes, optional + directories - 4, count, sizeof(count)) || ReadLe32(count) <= index ||
      !ReadInside(file, fileBytes, optional + entry, fields, sizeof(fields)))
    return false;
  directory->entryOffset = optional + entry;
  directory->address = ReadLe32(fields);
  directory->bytes = ReadLe32(fields + 4);
  directory->headersEnd = optional + optionalBytes;
  directory->sections = ReadLe16(pe + kPeSignatureBytes + kSectionCountField);
  return true;
}

bool ReadCertificateTable(ByteReader& file, std::int64_t fileBytes, CertificateTable* table) {
  PeDirectory security;
  if (!ReadPeDirectory(file, fileBytes, kSecurityDirectoryIndex, &security)) return false;
  table->directoryOffset = security.entryOffset;
  table->offset = security.address;
  table->bytes = security.bytes;

  // A table inside the headers, reaching past the file or too short for one certificate is
  // no signature.
  if (table->offset < security.headersEnd || table->bytes < kCertificateHeaderBytes ||
      table->offset + table->bytes > fileBytes)
    return false;
  unsigned char first[4];
  if (!ReadInside(file, fileBytes, table->offset, first, sizeof(first))) return false;
  const std::uint32_t firstBytes = ReadLe32(first);
  return firstBytes >= kCertificateHeaderBytes && firstBytes <= table->bytes;
}

std::int64_t PackageEnd(ByteReader& file, std::int64_t fileBytes) {
  CertificateTable table;
  if (!ReadCertificateTable(file, fileBytes, &table) || table.offset + table.bytes != fileBytes) return fileBytes;
  // The trailer ends in "EOF", never in a zero byte: zeros right before the table are the
  // signer's alignment.
  const std::int64_t start = table.offset > kMostPaddingBytes ? table.offset - kMostPaddingBytes : 0;
  unsigned char before[kMostPaddingBytes] = {};
  if (!ReadInside(file, fileBytes, start, before, static_cast<std::size_t>(table.offset - start))) return table.offset;
  std::int64_t end = table.offset;
  while (end > start && before[end - 1 - start] == 0) --end;
  return end;
}

}  // namespace corvalis
