// HTTP downloads of the DOWNLOADFILE task, through the system's WinINet.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <functional>
#include <string>

#include "installer/engine/http_download_text.h"

namespace corvalis {

constexpr DWORD kDownloadPieceBytes = 4096;

// Called after every piece that arrived with the destination path and how far the
// download is (0 to 100); returning 1 stops the download.
using DownloadProgressFn = std::function<int(const std::string& savePath, float percent)>;

// Shows the address in a message box, then fetches it into savePath piece by piece.
// 1 when the body ended cleanly; 0 when the download couldn't start, the server answered
// with an error (the file is then left as it was: an error page is no download), the file
// couldn't be created or written, the connection broke off, or the callback stopped it.
// Otherwise the file exists from the start of the transfer on and keeps what arrived.
int DownloadFile(const std::string& savePath, const std::string& url, const DownloadProgressFn& progress);

// HttpQueryInfoA of that level into a 1024-byte buffer; empty when the query fails.
std::string QueryHttpInfo(HINTERNET request, DWORD level);

}  // namespace corvalis
