#include "tests/shipping/pe_image.h"

#include <cstdint>

namespace pe_audit {

namespace {

constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint32_t kImportDirectory = 1;
constexpr uint32_t kResourceDirectory = 2;
constexpr uint32_t kDelayImportDirectory = 13;
constexpr uint32_t kManifestType = 24;
constexpr uint32_t kOrdinalFlag = 0x80000000u;
constexpr uint32_t kSubdirectoryFlag = 0x80000000u;

struct Section {
  uint32_t virtualAddress, virtualSize, rawOffset, rawSize;
};

// Bounds-checked reads over the file, addressed by file offset or by RVA.
struct Reader {
  const std::string& bytes;
  std::vector<Section> sections;
  uint32_t imageBase = 0;
  bool ok = true;

  uint32_t Le(uint64_t offset, int width) {
    if (offset + width > bytes.size()) {
      ok = false;
      return 0;
    }
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[offset + i]);
    return value;
  }
  uint32_t U16(uint64_t offset) { return Le(offset, 2); }
  uint32_t U32(uint64_t offset) { return Le(offset, 4); }

  uint64_t Offset(uint32_t rva) {
    for (const Section& s : sections) {
      uint32_t span = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
      if (rva >= s.virtualAddress && rva - s.virtualAddress < span) {
        if (rva - s.virtualAddress >= s.rawSize) break;  // in the zero-filled tail
        return uint64_t(s.rawOffset) + (rva - s.virtualAddress);
      }
    }
    ok = false;
    return bytes.size();
  }
  uint32_t RvaU32(uint32_t rva) { return U32(Offset(rva)); }

  std::string Text(uint32_t rva) {
    uint64_t at = Offset(rva);
    if (!ok) return std::string();
    size_t end = bytes.find('\0', at);
    if (end == std::string::npos) {
      ok = false;
      return std::string();
    }
    return bytes.substr(at, end - at);
  }
};

// The function names of one import name table; ordinals as "#<n>".
std::vector<std::string> ReadThunks(Reader& in, uint32_t tableRva, uint32_t addressBias) {
  std::vector<std::string> functions;
  for (uint32_t rva = tableRva; in.ok; rva += 4) {
    uint32_t thunk = in.RvaU32(rva);
    if (!thunk) break;
    if (thunk & kOrdinalFlag) {
      functions.push_back("#" + std::to_string(thunk & 0xFFFF));
    } else {
      functions.push_back(in.Text(thunk - addressBias + 2));  // past the hint
    }
  }
  return functions;
}

void ReadImports(Reader& in, uint32_t directoryRva, std::vector<ImportedDll>* imports) {
  for (uint32_t rva = directoryRva; in.ok; rva += 20) {
    uint32_t names = in.RvaU32(rva), nameRva = in.RvaU32(rva + 12), addresses = in.RvaU32(rva + 16);
    if (!nameRva && !addresses) break;
    ImportedDll dll;
    dll.name = in.Text(nameRva);
    dll.functions = ReadThunks(in, names ? names : addresses, 0);
    imports->push_back(dll);
  }
}

void ReadDelayImports(Reader& in, uint32_t directoryRva, std::vector<ImportedDll>* imports) {
  for (uint32_t rva = directoryRva; in.ok; rva += 32) {
    uint32_t attributes = in.RvaU32(rva), nameRva = in.RvaU32(rva + 4), names = in.RvaU32(rva + 16);
    if (!nameRva) break;
    // Old-style descriptors hold addresses instead of RVAs.
    uint32_t bias = (attributes & 1) ? 0 : in.imageBase;
    ImportedDll dll;
    dll.name = in.Text(nameRva - bias);
    dll.functions = ReadThunks(in, names - bias, bias);
    dll.delayLoaded = true;
    imports->push_back(dll);
  }
}

// The data of the first entry below a resource directory entry, following first entries.
std::string FirstResourceData(Reader& in, uint32_t rootRva, uint32_t entryTarget) {
  for (int depth = 0; depth < 8 && in.ok; ++depth) {
    if (!(entryTarget & kSubdirectoryFlag)) {
      uint32_t dataRva = in.RvaU32(rootRva + entryTarget), size = in.RvaU32(rootRva + entryTarget + 4);
      uint64_t at = in.Offset(dataRva);
      if (!in.ok || at + size > in.bytes.size()) return std::string();
      return in.bytes.substr(at, size);
    }
    uint32_t directory = rootRva + (entryTarget & ~kSubdirectoryFlag);
    uint32_t count = in.U16(in.Offset(directory + 12)) + in.U16(in.Offset(directory + 14));
    if (!count) return std::string();
    entryTarget = in.RvaU32(directory + 16 + 4);
  }
  return std::string();
}

std::string ReadManifest(Reader& in, uint32_t rootRva) {
  uint64_t root = in.Offset(rootRva);
  uint32_t count = in.U16(root + 12) + in.U16(root + 14);
  for (uint32_t i = 0; i < count && in.ok; ++i) {
    uint32_t id = in.RvaU32(rootRva + 16 + 8 * i), target = in.RvaU32(rootRva + 16 + 8 * i + 4);
    if (id == kManifestType) return FirstResourceData(in, rootRva, target);
  }
  return std::string();
}

}  // namespace

bool ReadPeImage(const std::string& bytes, PeImage* image, std::string* error) {
  *image = PeImage();
  Reader in{bytes, {}, 0, true};
  if (bytes.compare(0, 2, "MZ") != 0) return *error = "no MZ header", false;
  uint32_t pe = in.U32(0x3C);
  if (!in.ok || uint64_t(pe) + 24 > bytes.size() || bytes.compare(pe, 4, std::string("PE\0\0", 4)) != 0) {
    return *error = "no PE header", false;
  }
  uint32_t sectionCount = in.U16(pe + 6), optionalBytes = in.U16(pe + 20);
  uint64_t optional = uint64_t(pe) + 24;
  if (in.U16(optional) != kPe32Magic) return *error = "not a 32-bit image", false;
  in.imageBase = in.U32(optional + 28);
  uint32_t directoryCount = in.U32(optional + 92);
  uint64_t sectionTable = optional + optionalBytes;
  for (uint32_t i = 0; i < sectionCount && in.ok; ++i) {
    uint64_t at = sectionTable + 40 * uint64_t(i);
    std::string name = at + 8 <= bytes.size() ? bytes.substr(at, 8) : std::string();
    image->sectionNames.push_back(name.substr(0, name.find('\0')));
    in.sections.push_back({in.U32(at + 12), in.U32(at + 8), in.U32(at + 20), in.U32(at + 16)});
  }
  auto directoryRva = [&](uint32_t index) { return index < directoryCount ? in.U32(optional + 96 + 8 * index) : 0; };
  if (uint32_t rva = directoryRva(kImportDirectory)) ReadImports(in, rva, &image->imports);
  if (uint32_t rva = directoryRva(kDelayImportDirectory)) ReadDelayImports(in, rva, &image->imports);
  if (uint32_t rva = directoryRva(kResourceDirectory)) image->manifest = ReadManifest(in, rva);
  if (!in.ok) return *error = "a table points outside the file", false;
  return true;
}

}  // namespace pe_audit
