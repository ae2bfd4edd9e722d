// Layout of the package appended to the installer stub. Shared by the stub and the
// package builder so both agree byte for byte.
//
//   [stub][application ZIP (A bytes)][information ZIP (B bytes)][B:u32][A:u32]["EOF"]
//
// Signing the installer afterwards may add zero bytes and a certificate table after "EOF";
// the stub then reads the package from where that table begins (certificate_table.h).
#pragma once

#include <cstdint>
#include <string>

namespace corvalis {

constexpr int kTrailerBytes = 11;
// A ZIP entry's general-purpose flag bit 11: its name is UTF-8 (otherwise code page 437).
constexpr unsigned long kUtf8NameFlag = 1ul << 11;
constexpr char kEndMarker[] = "EOF";  // the last three bytes of every installer
constexpr int kEndMarkerBytes = 3;

// Offsets are handled as signed 32-bit values, so a whole installer stays below this.
constexpr std::int64_t kPackageLimitBytes = std::int64_t(1) << 31;

// Archives are copied out in chunks of this size; one window event is taken per chunk.
constexpr std::uint32_t kCopyChunkBytes = 5 * 1024 * 1024;
// Entries are inflated and written in pieces of at most this size.
constexpr std::uint32_t kInflatePieceBytes = 102400;

// Entries of the information archive, as stored (forward slashes). The installer finds
// them below its unpacked copy through UnpackedEntryPath.
constexpr const char* kScriptEntry = "Config/Script.ini";
constexpr const char* kStatisticsEntry = "Config/Statistics.ini";
constexpr const char* kLanguagesFolderEntry = "Languages/";
constexpr const char* kWizardBitmapEntry = "Resources/WizBitmap.bmp";
constexpr const char* kHeaderBitmapEntry = "Resources/HeadBitmap.bmp";
constexpr const char* kLicenseEntry = "Resources/License.txt";
constexpr const char* kReadMeEntry = "Resources/ReadMe.txt";
// The uninstaller the installer writes, with the product's version resource (and signed
// when the vendor signs); packages without it get the one the installer carries.
constexpr const char* kUninstallerEntry = "Uninstaller.exe";
// Far above any uninstaller we build.
constexpr std::uint32_t kMaxUninstallerBytes = 4 * 1024 * 1024;

// The work folder's subfolder that the information archive is unpacked into.
constexpr const char* kInformationFolder = "Information\\";

// Where an entry of the information archive lies once unpacked below folder ("...\").
inline std::string UnpackedEntryPath(const std::string& folder, const char* entry) {
  std::string path = folder + entry;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

// Little-endian 16- and 32-bit reads and 32-bit writes, independent of the host's byte order.
inline std::uint16_t ReadLe16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline std::uint32_t ReadLe32(const unsigned char* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}
inline void WriteLe32(unsigned char* p, std::uint32_t v) {
  p[0] = static_cast<unsigned char>(v);
  p[1] = static_cast<unsigned char>(v >> 8);
  p[2] = static_cast<unsigned char>(v >> 16);
  p[3] = static_cast<unsigned char>(v >> 24);
}

// The 11 trailer bytes for an information archive of infoBytes (B) and an application
// archive of programBytes (A).
inline void WriteTrailer(unsigned char* out, std::uint32_t infoBytes, std::uint32_t programBytes) {
  WriteLe32(out, infoBytes);
  WriteLe32(out + 4, programBytes);
  out[8] = 'E';
  out[9] = 'O';
  out[10] = 'F';
}

}  // namespace corvalis
