// The single-instance guard: one installation at a time on the machine.
#pragma once

namespace corvalis {

// Creates the single-instance mutex, in this session and globally, and keeps both for the
// life of the process; false when another installer already holds either.
bool ClaimInstanceMutex();

}  // namespace corvalis
