#include <gtest/gtest.h>

#include "installer/engine/http_download_text.h"

namespace {

TEST(DownloadTextTest, SizeProbeTarget) {
  struct Case {
    const char* url;
    const char* host;
    const char* object;
  } cases[] = {
      {"http://127.0.0.1/dir/file.bin", "127.0.0.1", "dir/file.bin"},
      {"http://example.org:8080/a?b=c", "example.org:8080", "a?b=c"},
      {"HTTP://Example.org/x", "Example.org", "x"},
      {"http://127.0.0.1", "", "http://127.0.0.1"},  // no "/" after the host
      {"https://host/x", "https:/", "https://host/x"},  // the probe is for http only
      {"http://", "", "http://"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    const std::string host = corvalis::SizeProbeHost(c.url);
    EXPECT_EQ(host, c.host);
    EXPECT_EQ(corvalis::SizeProbeObject(c.url, host), c.object);
  }
}

TEST(DownloadTextTest, AnnouncedSize) {
  EXPECT_EQ(corvalis::ContentLengthOf("HTTP/1.1 200 OK\r\nContent-Length: 10000\r\nServer: x\r\n\r\n"), 10000);
  EXPECT_EQ(corvalis::ContentLengthOf("HTTP/1.1 200 OK\r\nContent-Length:\t 42 \r\n"), 42);
  EXPECT_EQ(corvalis::ContentLengthOf("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"), 0);
  EXPECT_EQ(corvalis::ContentLengthOf("HTTP/1.1 200 OK\r\nContent-Length: junk\r\n"), 0);
}

TEST(DownloadTextTest, PercentWithAndWithoutSize) {
  EXPECT_FLOAT_EQ(corvalis::NextDownloadPercent(0, 4096, 10000), 40.96f);
  EXPECT_FLOAT_EQ(corvalis::NextDownloadPercent(40.96f, 10000, 10000), 100.0f);
  EXPECT_FLOAT_EQ(corvalis::NextDownloadPercent(100, 20000, 10000), 100.0f);
  // Sizes beyond 4 GiB still give shares, not wrapped counts.
  EXPECT_FLOAT_EQ(corvalis::NextDownloadPercent(0, 3ull << 31, 6ll << 31), 50.0f);
  EXPECT_EQ(corvalis::NextDownloadPercent(0, 4096, 0), 1.0f);
  EXPECT_EQ(corvalis::NextDownloadPercent(98, 4096, 0), 99.0f);
  EXPECT_EQ(corvalis::NextDownloadPercent(99, 4096, 0), 0.0f);
  EXPECT_EQ(corvalis::NextDownloadPercent(5, 4096, -1), 6.0f);
}

}  // namespace
