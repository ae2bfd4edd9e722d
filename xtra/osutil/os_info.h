// Names and texts made from the Windows version record and the adapter list.
#pragma once

#include <cstddef>
#include <cstdint>

// "Windows XP" and the like; "Windows" for a version outside the known ones.
const char* OsNameFor(uint32_t major, uint32_t minor, uint32_t platform);
// "5,1,2600,2,Service Pack 3": the build printed as a signed number.
void FormatOsVersion(uint32_t major, uint32_t minor, uint32_t build, uint32_t platform,
                     const char* servicePack, char* out, size_t n);

constexpr size_t kMacTextBytes = 18;
constexpr char kNoMacAddress[] = "00:00:00:00:00:00";
// "00:1A:2B:3C:4D:5E" into out of kMacTextBytes; false for an all-zero address.
bool FormatMacAddress(const uint8_t* address, char* out);
