#include "installer/startup/startup_resources.h"

#include "common/window_toolkit.h"
#include "installer/resource_ids.h"

namespace corvalis {

namespace {

constexpr int kSeparatorWidth = 495;
constexpr int kSeparatorHeight = 2;

HFONT fonts[kStartupFontCount] = {};
HANDLE images[kStartupImageCount] = {};

HFONT MakeTahoma(int points, int weight, DWORD quality, int pixelsPerInch) {
  return CreateFontA(-MulDiv(points, pixelsPerInch, 72), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, quality,
                     DEFAULT_PITCH | FF_DONTCARE, "Tahoma");
}

// 32 x 32 at 96 DPI, drawn afresh for the display's DPI.
HANDLE LoadIcon32(HINSTANCE instance, int id) {
  return LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, Scaled(32), Scaled(32), LR_DEFAULTCOLOR);
}

}  // namespace

void CreateStartupResources(HINSTANCE instance) {
  const int pixelsPerInch = LayoutDpi();

  fonts[0] = MakeTahoma(14, FW_NORMAL, PROOF_QUALITY, pixelsPerInch);
  fonts[1] = MakeTahoma(7, FW_NORMAL, PROOF_QUALITY, pixelsPerInch);
  fonts[2] = MakeTahoma(9, FW_NORMAL, PROOF_QUALITY, pixelsPerInch);
  fonts[3] = MakeTahoma(10, FW_BOLD, DEFAULT_QUALITY, pixelsPerInch);

  images[kProgramIcon] = LoadIcon32(instance, IDI_PROGRAM);
  // The wizard draws its separator line onto this one; it needs no pixels of its own.
  HDC screen = GetDC(nullptr);
  images[kSeparatorBitmap] =
      screen ? CreateCompatibleBitmap(screen, Scaled(kSeparatorWidth), Scaled(kSeparatorHeight)) : nullptr;
  if (screen) ReleaseDC(nullptr, screen);
  images[kDestinationIcon] = LoadIcon32(instance, IDI_DESTINATION);
  images[kStartMenuIcon] = LoadIcon32(instance, IDI_START_MENU);
}

HFONT StartupFont(int index) {
  return index >= 0 && index < kStartupFontCount ? fonts[index] : nullptr;
}

HANDLE StartupImage(StartupImageId id) {
  return id >= 0 && id < kStartupImageCount ? images[id] : nullptr;
}

}  // namespace corvalis
