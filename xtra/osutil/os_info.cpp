#include "xtra/osutil/os_info.h"

#include "xtra/osutil/nel_text.h"

namespace {

constexpr uint32_t kAnyValue = 0xFFFFFFFFu;
constexpr uint32_t kPlatform9x = 1;
constexpr uint32_t kPlatformNt = 2;

struct OsName {
  uint32_t major;
  uint32_t minor;
  uint32_t platform;
  const char* name;
};

constexpr OsName kOsNames[] = {
    {3, kAnyValue, kAnyValue, "Windows NT 3.51"}, {4, 0, kPlatform9x, "Windows 95"},
    {4, 10, kPlatform9x, "Windows 98"},           {4, 90, kPlatform9x, "Windows Me"},
    {4, kAnyValue, kPlatformNt, "Windows NT 4.0"}, {5, 0, kAnyValue, "Windows 2000"},
    {5, 1, kAnyValue, "Windows XP"},              {6, 0, kAnyValue, "Windows Vista"},
    {6, 1, kAnyValue, "Windows 7"},
};

bool Matches(uint32_t wanted, uint32_t actual) { return wanted == kAnyValue || wanted == actual; }

}  // namespace

const char* OsNameFor(uint32_t major, uint32_t minor, uint32_t platform) {
  for (const OsName& row : kOsNames) {
    if (Matches(row.major, major) && Matches(row.minor, minor) && Matches(row.platform, platform)) return row.name;
  }
  return "Windows";
}

void FormatOsVersion(uint32_t major, uint32_t minor, uint32_t build, uint32_t platform,
                     const char* servicePack, char* out, size_t n) {
  const uint32_t numbers[] = {major, minor, build, platform};
  CopyCut("", out, n);
  for (uint32_t number : numbers) {
    AppendDecimal(out, n, static_cast<int32_t>(number));
    AppendCut(out, n, ",");
  }
  AppendCut(out, n, servicePack);
}

bool FormatMacAddress(const uint8_t* address, char* out) {
  static const char kHex[] = "0123456789ABCDEF";
  bool nonzero = false;
  for (int i = 0; i < 6; ++i) {
    nonzero = nonzero || address[i] != 0;
    out[i * 3] = kHex[address[i] >> 4];
    out[i * 3 + 1] = kHex[address[i] & 0x0F];
    out[i * 3 + 2] = i < 5 ? ':' : '\0';
  }
  return nonzero;
}
