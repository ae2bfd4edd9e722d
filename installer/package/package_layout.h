// Layout of the package appended to the installer stub. Shared by the stub and the
// package builder so both agree byte for byte.
//
//   [stub][application ZIP (A bytes)][information ZIP (B bytes)][B:u32][A:u32]["EOF"]
#pragma once

#include <cstdint>

namespace corvalis {

constexpr int kTrailerBytes = 11;
constexpr char kEndMarker[] = "EOF";  // the last three bytes of every installer
constexpr int kEndMarkerBytes = 3;

// Entries of the information archive, as stored (forward slashes).
constexpr const char* kScriptEntry = "Config/Script.ini";
constexpr const char* kStatisticsEntry = "Config/Statistics.ini";
constexpr const char* kLanguagesFolderEntry = "Languages/";
constexpr const char* kWizardBitmapEntry = "Resources/WizBitmap.bmp";
constexpr const char* kHeaderBitmapEntry = "Resources/HeadBitmap.bmp";
constexpr const char* kLicenseEntry = "Resources/License.txt";
constexpr const char* kReadMeEntry = "Resources/ReadMe.txt";

// Little-endian 32-bit read/write, independent of the host's byte order.
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

}  // namespace corvalis
