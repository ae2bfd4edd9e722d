#include "tools/mkinstaller/program_image.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "common/ansi_text.h"
#include "installer/package/certificate_table.h"
#include "installer/package/package_layout.h"
#include "installer/resource_ids.h"
#include "tools/mkinstaller/text_encodings.h"

namespace mkinstaller {

namespace {

constexpr std::uint16_t kTypeRcData = 10;
constexpr std::uint16_t kTypeVersion = 16;
constexpr std::uint16_t kVersionId = 1;
constexpr std::uint32_t kResourceDirectoryIndex = 2;
constexpr std::size_t kSectionHeaderBytes = 40;

// Little-endian fields, read only where they lie inside the file.
const unsigned char* Inside(const std::string& b, std::size_t at, std::size_t n) {
  return at <= b.size() && b.size() - at >= n ? reinterpret_cast<const unsigned char*>(b.data()) + at : nullptr;
}
bool Read16(const std::string& b, std::size_t at, std::uint32_t* v) {
  const unsigned char* p = Inside(b, at, 2);
  if (p) *v = corvalis::ReadLe16(p);
  return p != nullptr;
}
bool Read32(const std::string& b, std::size_t at, std::uint32_t* v) {
  const unsigned char* p = Inside(b, at, 4);
  if (p) *v = corvalis::ReadLe32(p);
  return p != nullptr;
}

class StringReader final : public corvalis::ByteReader {
 public:
  explicit StringReader(const std::string& bytes) : bytes_(bytes) {}
  bool ReadAt(std::int64_t offset, unsigned char* out, std::size_t bytes) override {
    const unsigned char* p = offset < 0 ? nullptr : Inside(bytes_, static_cast<std::size_t>(offset), bytes);
    if (p) std::memcpy(out, p, bytes);
    return p != nullptr;
  }

 private:
  const std::string& bytes_;
};

struct Sections {
  const std::string& image;
  std::size_t table = 0;
  std::uint32_t count = 0;
  // The file offset of rva, when a section's raw data holds n bytes from there.
  bool Offset(std::uint32_t rva, std::uint32_t n, std::size_t* offset) const {
    for (std::uint32_t i = 0; i < count; ++i) {
      const std::size_t header = table + i * kSectionHeaderBytes;
      std::uint32_t address = 0, rawSize = 0, rawOffset = 0;
      if (!Read32(image, header + 12, &address) || !Read32(image, header + 16, &rawSize) ||
          !Read32(image, header + 20, &rawOffset)) {
        return false;
      }
      if (rva < address || rva - address > rawSize || rawSize - (rva - address) < n) continue;
      *offset = std::size_t(rawOffset) + (rva - address);
      return *offset <= image.size() && image.size() - *offset >= n;
    }
    return false;
  }
};

// The entry of id in the resource directory at offset `directory` (relative to the section).
bool FindEntry(const std::string& image, std::size_t base, std::uint32_t directory, std::uint32_t id, bool first,
               std::uint32_t* target) {
  std::uint32_t named = 0, ids = 0;
  if (!Read16(image, base + directory + 12, &named) || !Read16(image, base + directory + 14, &ids)) return false;
  for (std::uint32_t i = 0; i < named + ids; ++i) {
    std::uint32_t name = 0;
    const std::size_t entry = base + directory + 16 + i * 8;
    if (!Read32(image, entry, &name) || !Read32(image, entry + 4, target)) return false;
    if (first || name == id) return true;
  }
  return false;
}

void Put16(std::string* b, std::uint32_t v) {
  b->push_back(static_cast<char>(v & 0xFF));
  b->push_back(static_cast<char>(v >> 8 & 0xFF));
}
void Put32(std::string* b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
void Align4(std::string* b) {
  while (b->size() % 4) b->push_back('\0');
}
std::string Utf16(const std::string& cp1252) {
  std::string wide;
  // Every code page 1252 byte has a place in UTF-16; the few undefined ones become "?".
  if (!ConvertText("UTF-16LE", "CP1252", cp1252, &wide)) {
    for (const char c : cp1252) Put16(&wide, static_cast<unsigned char>(c) < 0x80 ? static_cast<unsigned char>(c) : '?');
  }
  return wide;
}

// One node of the version tree: its header, key, value and children, wLength filled in.
std::string Node(const std::string& key, std::uint32_t type, const std::string& value, std::uint32_t valueLength,
                 const std::string& children = std::string()) {
  std::string node;
  Put16(&node, 0);
  Put16(&node, valueLength);
  Put16(&node, type);
  node += Utf16(key);
  Put16(&node, 0);
  Align4(&node);
  node += value;
  if (!children.empty()) {
    Align4(&node);
    node += children;
  }
  node[0] = static_cast<char>(node.size() & 0xFF);
  node[1] = static_cast<char>(node.size() >> 8 & 0xFF);
  return node;
}

std::string Text(const std::string& key, const std::string& value) {
  std::string wide = Utf16(value);
  Put16(&wide, 0);
  std::string node = Node(key, 1, wide, static_cast<std::uint32_t>(wide.size() / 2));
  Align4(&node);
  return node;
}


}  // namespace

bool FindResourceData(const std::string& image, std::uint16_t type, std::uint16_t id, std::size_t* offset,
                      std::size_t* size) {
  StringReader reader(image);
  corvalis::PeDirectory resources;
  if (!corvalis::ReadPeDirectory(reader, static_cast<std::int64_t>(image.size()), kResourceDirectoryIndex, &resources)) {
    return false;
  }
  const Sections sections{image, static_cast<std::size_t>(resources.headersEnd), resources.sections};
  std::size_t base = 0;
  if (resources.bytes < 16 || !sections.Offset(resources.address, 16, &base)) return false;
  // Type, then name, then the first language; subdirectories carry the high bit.
  std::uint32_t level = 0;
  if (!FindEntry(image, base, 0, type, false, &level) || !(level & 0x80000000u) ||
      !FindEntry(image, base, level & 0x7FFFFFFFu, id, false, &level) || !(level & 0x80000000u) ||
      !FindEntry(image, base, level & 0x7FFFFFFFu, 0, true, &level) || (level & 0x80000000u)) {
    return false;
  }
  std::uint32_t dataRva = 0, dataSize = 0;
  if (!Read32(image, base + level, &dataRva) || !Read32(image, base + level + 4, &dataSize)) return false;
  *size = dataSize;
  return sections.Offset(dataRva, dataSize, offset);
}

bool CarriesUninstaller(const std::string& stub) {
  std::size_t offset = 0, size = 0;
  return FindResourceData(stub, kTypeRcData, IDR_UNINSTALLER, &offset, &size);
}

bool UnpackUninstaller(const std::string& stub, std::string* uninstaller, std::string* error) {
  std::size_t offset = 0, size = 0;
  if (!FindResourceData(stub, kTypeRcData, IDR_UNINSTALLER, &offset, &size)) {
    *error = "the stub carries no uninstaller (is it Installer.exe of this version?)";
    return false;
  }
  std::vector<Bytef> image(corvalis::kMaxUninstallerBytes);
  uLongf length = image.size();
  if (uncompress(image.data(), &length, reinterpret_cast<const Bytef*>(stub.data() + offset), size) != Z_OK) {
    *error = "the stub's uninstaller doesn't inflate";
    return false;
  }
  uninstaller->assign(reinterpret_cast<const char*>(image.data()), length);
  return true;
}

std::string VersionResource(const VersionTexts& texts) {
  std::vector<unsigned> parts;
  if (!corvalis::ParseDottedVersion(texts.version, &parts)) parts.clear();
  parts.resize(4, 0);
  std::string fixed;
  Put32(&fixed, 0xFEEF04BDu);  // the signature
  Put32(&fixed, 0x00010000u);  // structure version 1.0
  for (int twice = 0; twice < 2; ++twice) {  // file version, then product version
    Put32(&fixed, parts[0] << 16 | parts[1]);
    Put32(&fixed, parts[2] << 16 | parts[3]);
  }
  Put32(&fixed, 0x3F);      // flags mask
  Put32(&fixed, 0);         // flags
  Put32(&fixed, 0x40004u);  // Windows NT, 32-bit
  Put32(&fixed, 1);         // an application
  for (int zero = 0; zero < 3; ++zero) Put32(&fixed, 0);  // subtype, date
  const std::string strings = Text("CompanyName", texts.company) + Text("FileDescription", texts.description) +
                              Text("FileVersion", texts.version) + Text("LegalCopyright", texts.copyright) +
                              Text("ProductName", texts.productName) + Text("ProductVersion", texts.version);
  std::string translation;
  Put16(&translation, 0x0409);
  Put16(&translation, 1252);
  std::string table = Node("040904E4", 1, std::string(), 0, strings);
  Align4(&table);
  std::string stringInfo = Node("StringFileInfo", 1, std::string(), 0, table);
  Align4(&stringInfo);
  const std::string varInfo = Node("VarFileInfo", 1, std::string(), 0, Node("Translation", 0, translation, 4));
  return Node("VS_VERSION_INFO", 0, fixed, static_cast<std::uint32_t>(fixed.size()), stringInfo + varInfo);
}

bool FillVersionResource(std::string* image, const VersionTexts& texts, std::string* error) {
  std::size_t offset = 0, size = 0;
  if (!FindResourceData(*image, kTypeVersion, kVersionId, &offset, &size)) {
    *error = "the program has no version resource to fill";
    return false;
  }
  const std::string resource = VersionResource(texts);
  if (resource.size() > size) {
    *error = "the product's name, company, version and copyright take " + std::to_string(resource.size()) +
             " bytes of version resource; the program has room for " + std::to_string(size) + ": shorten them";
    return false;
  }
  image->replace(offset, size, resource + std::string(size - resource.size(), '\0'));
  return true;
}

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

bool RunSigningCommand(const std::string& command, const std::string& in, const std::string& out,
                       std::string* error) {
  std::string line = command;
  line = corvalis::ReplaceNoCase(corvalis::ReplaceNoCase(line, "{in}", ShellQuoted(in)), "{out}", ShellQuoted(out));
  std::remove(out.c_str());
  const int status = std::system(line.c_str());
  struct stat signedFile = {};
  if (status != 0 || stat(out.c_str(), &signedFile) != 0 || signedFile.st_size == 0) {
    *error = "the signing command failed (" +
             (status == -1 || !WIFEXITED(status) ? std::string("it didn't run") : "exit code " + std::to_string(WEXITSTATUS(status))) +
             "): " + line;
    return false;
  }
  return true;
}

}  // namespace mkinstaller
