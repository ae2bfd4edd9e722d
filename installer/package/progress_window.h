// The small windows shown while the package is copied out: "Initializing..." during the
// preparation and the export window of "-u".
#pragma once

#include <windows.h>

namespace corvalis {

struct ProgressWindow {
  HWND window = nullptr;
  HWND progressBar = nullptr;
  HWND cancelButton = nullptr;
};

ProgressWindow OpenPreparationWindow();
ProgressWindow OpenExportWindow();
void CloseProgressWindow(ProgressWindow* progress);

// Moves the bar, then takes at most one pending window event without waiting. True when
// that event was a click on "Cancel"; every other event is dropped.
bool StepProgressWindow(const ProgressWindow& progress, int percent);

// A message box (common/message_box.h) titled "Error", with the stop icon and OK.
void ShowPackageError(HWND owner, const char* text);

}  // namespace corvalis
