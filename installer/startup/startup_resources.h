// Fonts and built-in images made at start-up and kept for the whole run.
//   fonts:  0 Tahoma 14 pt, 1 Tahoma 7 pt, 2 Tahoma 9 pt, 3 Tahoma 10 pt bold
#pragma once

#include <windows.h>

namespace corvalis {

constexpr int kStartupFontCount = 4;
enum StartupImageId : int {
  kProgramIcon = 0,    // HICON
  kSeparatorBitmap,    // HBITMAP, 495 x 2, drawn at run time
  kDestinationIcon,    // HICON
  kStartMenuIcon,      // HICON
};
constexpr int kStartupImageCount = 4;

void CreateStartupResources(HINSTANCE instance);

// nullptr before CreateStartupResources or for an index out of range.
HFONT StartupFont(int index);
HANDLE StartupImage(StartupImageId id);

}  // namespace corvalis
