#include "installer/engine/http_download.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "common/message_box.h"
#include "common/system_dlls.h"
#include "common/ansi_text.h"

namespace corvalis {

namespace {

constexpr DWORD kQueryAnswerBytes = 1024;
constexpr INTERNET_PORT kProbePort = 80;

// WinINet comes from the system folder at run time: a wininet.dll planted beside the
// installer must never be the one that runs with its rights.
struct WinInetCalls {
  decltype(&InternetOpenA) internetOpen;
  decltype(&InternetOpenUrlA) internetOpenUrl;
  decltype(&InternetConnectA) internetConnect;
  decltype(&HttpOpenRequestA) httpOpenRequest;
  decltype(&HttpSendRequestA) httpSendRequest;
  decltype(&HttpQueryInfoA) httpQueryInfo;
  decltype(&InternetReadFile) internetReadFile;
  decltype(&InternetCloseHandle) internetCloseHandle;
};

template <typename Fn>
bool Resolve(HMODULE module, const char* name, Fn* out) {
  *out = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return *out != nullptr;
}

// nullptr when wininet.dll or one of its calls is missing. The module stays loaded for
// the rest of the process.
const WinInetCalls* WinInet() {
  static WinInetCalls calls;
  static const bool loaded = [] {
    HMODULE module = LoadSystemLibrary("wininet.dll");
    return module &&
           Resolve(module, "InternetOpenA", &calls.internetOpen) &&
           Resolve(module, "InternetOpenUrlA", &calls.internetOpenUrl) &&
           Resolve(module, "InternetConnectA", &calls.internetConnect) &&
           Resolve(module, "HttpOpenRequestA", &calls.httpOpenRequest) &&
           Resolve(module, "HttpSendRequestA", &calls.httpSendRequest) &&
           Resolve(module, "HttpQueryInfoA", &calls.httpQueryInfo) &&
           Resolve(module, "InternetReadFile", &calls.internetReadFile) &&
           Resolve(module, "InternetCloseHandle", &calls.internetCloseHandle);
  }();
  return loaded ? &calls : nullptr;
}

// Closes a WinINet handle when the download leaves, whichever way it does.
struct NetHandle {
  const WinInetCalls* net;
  HINTERNET handle;
  NetHandle(const WinInetCalls* n, HINTERNET h) : net(n), handle(h) {}
  NetHandle(const NetHandle&) = delete;
  NetHandle& operator=(const NetHandle&) = delete;
  ~NetHandle() {
    if (handle) net->internetCloseHandle(handle);
  }
};

// The size the server announces to a HEAD request on port 80; 0 when any step fails.
std::int64_t ProbeSize(const WinInetCalls& net, HINTERNET root, const std::string& url) {
  const std::string host = SizeProbeHost(url);
  NetHandle connection(&net, net.internetConnect(root, host.c_str(), kProbePort, nullptr, nullptr,
                                                 INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection.handle) return 0;
  const std::string object = SizeProbeObject(url, host);
  NetHandle request(&net, net.httpOpenRequest(connection.handle, "HEAD", object.c_str(), "http/1.1",
                                              nullptr, nullptr, INTERNET_FLAG_RELOAD, 0));
  if (!request.handle || !net.httpSendRequest(request.handle, nullptr, 0, nullptr, 0)) return 0;
  if (TrimBlanks(QueryHttpInfo(request.handle, HTTP_QUERY_STATUS_CODE)) != "200") return 0;
  return ContentLengthOf(QueryHttpInfo(request.handle, HTTP_QUERY_RAW_HEADERS_CRLF));
}

// WinINet can end a body of known length early without an error when the server closes
// the connection; a short body must not count as a finished download.
bool BodyComplete(const WinInetCalls& net, HINTERNET body, std::uint64_t total) {
  DWORD announced = 0;
  DWORD length = sizeof announced;
  if (!net.httpQueryInfo(body, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &announced, &length,
                         nullptr)) {
    return true;  // no length to hold it against (chunked, or not HTTP)
  }
  return total >= announced;
}

}  // namespace

std::string QueryHttpInfo(HINTERNET request, DWORD level) {
  const WinInetCalls* net = WinInet();
  char answer[kQueryAnswerBytes] = {};
  DWORD length = sizeof answer;
  if (!net || !net->httpQueryInfo(request, level, answer, &length, nullptr)) return "";
  if (length > sizeof answer) length = sizeof answer;
  return std::string(answer, strnlen(answer, length));
}

int DownloadFile(const std::string& savePath, const std::string& url, const DownloadProgressFn& progress) {
  ShowMessageBox(nullptr, url, savePath, MB_OK);

  std::unique_ptr<char[]> piece(new (std::nothrow) char[kDownloadPieceBytes]);
  if (!piece) return 0;

  const WinInetCalls* net = WinInet();
  NetHandle root(net, net ? net->internetOpen("", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0) : nullptr);
  NetHandle body(net, root.handle ? net->internetOpenUrl(root.handle, url.c_str(), nullptr, 0,
                                                         INTERNET_FLAG_RELOAD, 0)
                                  : nullptr);
  // A server's error page is no download: a later RUN task would start it as the program.
  DWORD status = 0;
  DWORD statusBytes = sizeof status;
  if (body.handle && net->httpQueryInfo(body.handle, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                                        &statusBytes, nullptr) &&
      (status < 200 || status > 299)) {
    return 0;
  }
  const std::int64_t size = root.handle ? ProbeSize(*net, root.handle, url) : 0;

  HANDLE file = CreateFileA(savePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;

  // An address that couldn't be opened leaves the empty file and counts as a failure.
  int result = 0;
  std::uint64_t total = 0;
  float percent = 0.0f;
  while (body.handle) {
    DWORD received = 0;
    if (!net->internetReadFile(body.handle, piece.get(), kDownloadPieceBytes, &received)) break;
    if (received == 0) {
      result = BodyComplete(*net, body.handle, total) ? 1 : 0;
      break;
    }
    total += received;
    percent = NextDownloadPercent(percent, total, size);
    if (progress && progress(savePath, percent) == 1) break;
    DWORD written = 0;
    if (!WriteFile(file, piece.get(), received, &written, nullptr) || written != received) break;
  }
  CloseHandle(file);
  return result;
}

}  // namespace corvalis
