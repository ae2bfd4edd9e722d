#include "common/run_mode.h"

namespace corvalis {

namespace {

RunMode mode = RunMode::Interactive;

}  // namespace

void SetRunMode(RunMode newMode) { mode = newMode; }

RunMode CurrentRunMode() { return mode; }

bool IsSilentRun() { return mode != RunMode::Interactive; }

}  // namespace corvalis
