// How a run meets its user: interactively, or silently for deployment tools, which start
// a program with nobody at the screen and read only its exit code and its log. Set once
// at start-up. Message boxes go through ShowMessageBox (common/message_box.h).
#pragma once

namespace corvalis {

enum class RunMode {
  Interactive,
  Silent,      // the progress window only; no questions, no message boxes
  VerySilent,  // no window at all
};

void SetRunMode(RunMode mode);
RunMode CurrentRunMode();
bool IsSilentRun();

}  // namespace corvalis
