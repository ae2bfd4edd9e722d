// Fonts and built-in images made at start-up and kept for the whole run.
//   fonts:  0 Tahoma 14 pt, 1 Tahoma 7 pt, 2 Tahoma 9 pt, 3 Tahoma 10 pt bold
//   images: 0 program icon, 1 495 x 2 separator bitmap, 2 destination icon,
//           3 Start-menu icon
#pragma once

#include <windows.h>

namespace corvalis {

constexpr int kStartupFontCount = 4;
constexpr int kStartupImageCount = 4;

void CreateStartupResources(HINSTANCE instance);

// nullptr before CreateStartupResources or for an index out of range.
HFONT StartupFont(int index);
// Images 0, 2 and 3 are HICONs, image 1 an HBITMAP.
HANDLE StartupImage(int index);

}  // namespace corvalis
