// Copying a range of one open file to another, its progress told per kCopyChunkBytes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

namespace corvalis {

// Called after each full chunk with chunk * 100 / chunks; false stops the copy.
using CopyProgress = std::function<bool(int percent)>;

enum class CopyResult { Done, Failed, Stopped };

// Copies count bytes from offset of source to the current position of target. Failed when
// the buffer can't be obtained (nothing is copied then) or a read or a write falls short
// (the target then holds what came before; *error is the system's code, ERROR_DISK_FULL
// for a write cut short without one, 0 for a short read).
CopyResult CopyFileRange(HANDLE source, HANDLE target, std::int32_t offset, std::int32_t count,
                         const CopyProgress& progress, DWORD* error);

}  // namespace corvalis
