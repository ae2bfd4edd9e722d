// Where a signed package ends: PE headers built by hand, signed or damaged in every way a
// download or a hostile file could be.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "installer/package/certificate_table.h"
#include "installer/package/package_checks.h"
#include "installer/package/package_layout.h"

using namespace corvalis;

namespace {

// Reads from memory and fails the test on any read outside it.
class MemoryReader : public ByteReader {
 public:
  explicit MemoryReader(const std::vector<unsigned char>& bytes) : bytes_(bytes) {}
  bool ReadAt(std::int64_t offset, unsigned char* out, std::size_t count) override {
    const bool inside = offset >= 0 && std::uint64_t(offset) + count <= bytes_.size();
    EXPECT_TRUE(inside) << "read of " << count << " at " << offset << " in " << bytes_.size() << " bytes";
    if (!inside) return false;
    if (count) std::memcpy(out, bytes_.data() + offset, count);
    return true;
  }

 private:
  const std::vector<unsigned char>& bytes_;
};

constexpr std::size_t kPeHeader = 0x80;
constexpr std::size_t kOptional = kPeHeader + 24;

void Put16(std::vector<unsigned char>* b, std::size_t at, unsigned v) {
  (*b)[at] = static_cast<unsigned char>(v);
  (*b)[at + 1] = static_cast<unsigned char>(v >> 8);
}
void Put32(std::vector<unsigned char>* b, std::size_t at, std::uint32_t v) { WriteLe32(b->data() + at, v); }

struct Image {
  std::vector<unsigned char> bytes;
  std::size_t security = 0;  // the directory entry
  std::size_t packageEnd = 0;
  std::size_t table = 0;
};

// A PE32 (or PE32+) image with a 100-byte body, a package with a 5-byte application and a
// 6-byte information archive, padding zero bytes and, when tableBytes > 0, a certificate
// table at the end named by the security directory.
Image MakeImage(bool plus, std::size_t padding, std::uint32_t tableBytes) {
  Image image;
  std::vector<unsigned char>& b = image.bytes;
  const std::size_t optionalBytes = plus ? 240 : 224;
  b.assign(kOptional + optionalBytes + 100, 0x90);
  b[0] = 'M';
  b[1] = 'Z';
  Put32(&b, 0x3C, kPeHeader);
  std::memcpy(&b[kPeHeader], "PE\0\0", 4);
  Put16(&b, kPeHeader + 20, static_cast<unsigned>(optionalBytes));
  Put16(&b, kOptional, plus ? 0x20B : 0x10B);
  const std::size_t directories = kOptional + (plus ? 112 : 96);
  Put32(&b, directories - 4, 16);
  image.security = directories + 4 * 8;
  for (std::size_t i = 0; i < 16 * 8; ++i) b[directories + i] = 0;

  const std::string archives = "APPLEinform";
  b.insert(b.end(), archives.begin(), archives.end());
  unsigned char trailer[kTrailerBytes];
  WriteTrailer(trailer, 6, 5);
  b.insert(b.end(), trailer, trailer + kTrailerBytes);
  image.packageEnd = b.size();
  b.insert(b.end(), padding, 0);
  if (tableBytes) {
    image.table = b.size();
    b.insert(b.end(), tableBytes, 0x30);
    Put32(&b, image.table, tableBytes - 3);  // the first certificate, shorter than its aligned table
    Put32(&b, image.security, static_cast<std::uint32_t>(image.table));
    Put32(&b, image.security + 4, tableBytes);
  }
  return image;
}

std::int64_t EndOf(const std::vector<unsigned char>& bytes) {
  MemoryReader reader(bytes);
  return PackageEnd(reader, static_cast<std::int64_t>(bytes.size()));
}

}  // namespace

TEST(CertificateTable, SignedPackagesEndBeforeTheirTable) {
  for (bool plus : {false, true}) {
    for (std::size_t padding : {0, 3, 7}) {
      SCOPED_TRACE(std::string(plus ? "PE32+" : "PE32") + " padding " + std::to_string(padding));
      Image image = MakeImage(plus, padding, 64);
      MemoryReader reader(image.bytes);
      CertificateTable table;
      ASSERT_TRUE(ReadCertificateTable(reader, std::int64_t(image.bytes.size()), &table));
      EXPECT_EQ(table.directoryOffset, std::int64_t(image.security));
      EXPECT_EQ(table.offset, std::int64_t(image.table));
      EXPECT_EQ(table.bytes, 64);

      const std::int64_t end = EndOf(image.bytes);
      ASSERT_EQ(end, std::int64_t(image.packageEnd));
      Trailer trailer = ParseTrailer(image.bytes.data() + end - kTrailerBytes, kTrailerBytes, end);
      EXPECT_EQ(trailer.status, TrailerStatus::Ok);
      EXPECT_EQ(image.bytes[std::size_t(ProgramArchiveOffset(trailer, end))], 'A');
      EXPECT_EQ(image.bytes[std::size_t(InfoArchiveOffset(trailer, end))], 'i');
    }
  }
  // Unsigned: the file's end, as always.
  Image unsigned_ = MakeImage(false, 0, 0);
  EXPECT_EQ(EndOf(unsigned_.bytes), std::int64_t(unsigned_.bytes.size()));
}

// Anything but a sound table that ends the file reads as unsigned.
TEST(CertificateTable, DamagedOrMisplacedTablesReadAsUnsigned) {
  struct Case {
    const char* what;
    void (*damage)(Image*);
  } cases[] = {
      {"table ends before the file does", [](Image* i) { i->bytes.insert(i->bytes.end(), 8, 0); }},
      {"table reaches past the file", [](Image* i) { Put32(&i->bytes, i->security + 4, 72); }},
      {"offset plus size wraps at 32 bits",
       [](Image* i) {
         Put32(&i->bytes, i->security, 0xFFFFFFF8u);
         Put32(&i->bytes, i->security + 4, 0x40);
       }},
      {"table inside the headers", [](Image* i) { Put32(&i->bytes, i->security, 0x40); }},
      {"table shorter than a certificate header",
       [](Image* i) {
         Put32(&i->bytes, i->security, std::uint32_t(i->bytes.size() - 4));
         Put32(&i->bytes, i->security + 4, 4);
       }},
      {"first certificate longer than the table", [](Image* i) { Put32(&i->bytes, i->table, 65); }},
      {"first certificate shorter than its header", [](Image* i) { Put32(&i->bytes, i->table, 7); }},
      {"no MZ", [](Image* i) { i->bytes[0] = 'X'; }},
      {"PE header offset past the file", [](Image* i) { Put32(&i->bytes, 0x3C, 0xFFFFFFF0u); }},
      {"PE header offset at the file's last bytes",
       [](Image* i) { Put32(&i->bytes, 0x3C, std::uint32_t(i->bytes.size() - 4)); }},
      {"no PE signature", [](Image* i) { i->bytes[kPeHeader + 2] = 'X'; }},
      {"unknown optional header", [](Image* i) { Put16(&i->bytes, kOptional, 0x107); }},
      {"optional header too short for the directory", [](Image* i) { Put16(&i->bytes, kPeHeader + 20, 135); }},
      {"only four directories", [](Image* i) { Put32(&i->bytes, kOptional + 92, 4); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Image image = MakeImage(false, 0, 64);
    c.damage(&image);
    EXPECT_EQ(EndOf(image.bytes), std::int64_t(image.bytes.size()));
  }
}

// Truncated anywhere or with any header byte changed: never a read outside the file and
// never an end past it.
TEST(CertificateTable, TruncatedAndMutatedFilesStayInBounds) {
  const Image image = MakeImage(false, 5, 64);
  for (std::size_t length = 0; length <= image.bytes.size(); ++length) {
    std::vector<unsigned char> cut(image.bytes.begin(), image.bytes.begin() + length);
    const std::int64_t end = EndOf(cut);
    ASSERT_GE(end, 0) << length;
    ASSERT_LE(end, std::int64_t(length)) << length;
  }
  for (std::size_t at = 0; at < kOptional + 224; ++at) {
    for (unsigned char value : {0x00, 0x7F, 0xFF}) {
      std::vector<unsigned char> mutated = image.bytes;
      mutated[at] = value;
      const std::int64_t end = EndOf(mutated);
      ASSERT_GE(end, 0) << at;
      ASSERT_LE(end, std::int64_t(mutated.size())) << at;
    }
  }
}
