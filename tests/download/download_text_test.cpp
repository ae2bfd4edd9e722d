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

TEST(DownloadTextTest, AnnouncedSizeAndShare) {
  EXPECT_EQ(corvalis::ContentLengthOf("HTTP/1.1 200 OK\r\nContent-Length: 10000\r\nServer: x\r\n\r\n"), 10000);
  EXPECT_EQ(corvalis::ContentLengthOf("HTTP/1.1 200 OK\r\nContent-Length:\t 42 \r\n"), 42);
  EXPECT_EQ(corvalis::ContentLengthOf("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"), 0);
  EXPECT_EQ(corvalis::ContentLengthOf("HTTP/1.1 200 OK\r\nContent-Length: junk\r\n"), 0);
  // Sizes beyond 4 GiB still give shares (the end-to-end tests cover the rest).
  const std::int64_t size = corvalis::ContentLengthOf("Content-Length: 12884901888\r\n");
  EXPECT_FLOAT_EQ(corvalis::NextDownloadPercent(0, 3ull << 31, size), 50.0f);
}

}  // namespace
