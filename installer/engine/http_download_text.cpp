#include "installer/engine/http_download_text.h"

#include "common/ini_file.h"

namespace corvalis {

namespace {

constexpr char kHttpPrefix[] = "http://";
constexpr char kSizeHeader[] = "Content-Length:";
constexpr std::string::size_type kHostStart = 7;  // 0-based position of the 8th character

// Addresses are matched without regard to case, as servers treat the scheme and host.
std::string RemoveAll(const std::string& text, const std::string& token) {
  return ReplaceNoCase(text, token, "");
}

}  // namespace

std::string SizeProbeHost(const std::string& url) {
  if (url.size() <= kHostStart) return "";
  auto slash = url.find('/', kHostStart);
  if (slash == std::string::npos) return "";
  return RemoveAll(url.substr(0, slash), kHttpPrefix);
}

std::string SizeProbeObject(const std::string& url, const std::string& host) {
  return RemoveAll(url, kHttpPrefix + host + "/");
}

std::int64_t ContentLengthOf(const std::string& rawHeaders) {
  auto at = rawHeaders.find(kSizeHeader);
  if (at == std::string::npos) return 0;
  return ParseInteger(TrimBlanks(rawHeaders.substr(at + sizeof kSizeHeader - 1)));
}

float NextDownloadPercent(float percent, std::uint64_t total, std::int64_t size) {
  if (size > 0) {
    double share = static_cast<double>(total) / static_cast<double>(size) * 100.0;
    return static_cast<float>(share > 100.0 ? 100.0 : share);
  }
  percent += 1.0f;
  return percent == 100.0f ? 0.0f : percent;
}

}  // namespace corvalis
