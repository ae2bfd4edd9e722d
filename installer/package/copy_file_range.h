// Copying a range of one open file to another in 5 MiB chunks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

namespace corvalis {

// Called after each full chunk with chunk * 100 / chunks.
using CopyProgress = std::function<void(int percent)>;

// Copies count bytes from offset of source to the current position of target. Returns 1,
// or 0 when the buffer can't be obtained (nothing is copied then) or a read or a write
// falls short (the target then holds what came before).
int CopyFileRange(HANDLE source, HANDLE target, std::int32_t offset, std::int32_t count,
                  const CopyProgress& progress);

}  // namespace corvalis
