// The text and arithmetic of a download: where the size probe goes and how far a
// download has come. Plain code, so both build trees compile it.
#pragma once

#include <cstdint>
#include <string>

namespace corvalis {

// Host of the size probe: the address up to the first "/" from its 8th character on,
// every "http://" taken out; empty when no "/" follows the host.
std::string SizeProbeHost(const std::string& url);
// Object name of the size probe: the address without "http://" + host + "/".
std::string SizeProbeObject(const std::string& url, const std::string& host);
// The number after the first "Content-Length:" of a raw header block; 0 without one.
std::int64_t ContentLengthOf(const std::string& rawHeaders);

// The percentage after a piece arrived. With a size (> 0): the share of total in it,
// at most 100 even when the server sends more than it announced. Without one it counts
// pieces: 1, 2, … 99, 0, 1, …
float NextDownloadPercent(float percent, std::uint64_t total, std::int64_t size);

}  // namespace corvalis
