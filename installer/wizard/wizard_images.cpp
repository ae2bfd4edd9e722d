#include "installer/wizard/wizard_images.h"

#include "common/window_toolkit.h"
#include "installer/startup/startup_resources.h"

namespace corvalis {

namespace {

// A memory DC with one bitmap selected for the life of the object.
class Canvas {
 public:
  explicit Canvas(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)) {
    old_ = dc_ ? SelectObject(dc_, bitmap) : nullptr;
  }
  ~Canvas() {
    if (!dc_) return;
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC dc() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

// Screen-compatible, so that the static controls show it without conversion.
HBITMAP NewBitmap(int width, int height) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

SIZE BitmapSize(HBITMAP bitmap) {
  BITMAP info = {};
  GetObjectA(bitmap, sizeof info, &info);
  return SIZE{info.bmWidth, info.bmHeight};
}

void DrawRow(HDC dc, int y, int width, int systemColour) {
  HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(systemColour));
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, 0, y, nullptr);
  LineTo(dc, width, y);
  SelectObject(dc, old);
  DeleteObject(pen);
}

void DrawRows(HBITMAP bitmap, int firstRow) {
  const SIZE size = BitmapSize(bitmap);
  Canvas canvas(bitmap);
  DrawRow(canvas.dc(), firstRow, size.cx, COLOR_BTNSHADOW);
  DrawRow(canvas.dc(), firstRow + 1, size.cx, COLOR_BTNHIGHLIGHT);
}

}  // namespace

HBITMAP LoadFittedBitmap(const std::string& path, int width, int height) {
  HBITMAP loaded = static_cast<HBITMAP>(
      LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!loaded) return nullptr;
  const SIZE size = BitmapSize(loaded);
  HBITMAP fitted = NewBitmap(width, height);
  if (fitted) {
    Canvas source(loaded);
    Canvas target(fitted);
    SetStretchBltMode(target.dc(), HALFTONE);
    SetBrushOrgEx(target.dc(), 0, 0, nullptr);
    StretchBlt(target.dc(), 0, 0, width, height, source.dc(), 0, 0, size.cx, size.cy, SRCCOPY);
  }
  DeleteObject(loaded);
  return fitted;
}

HBITMAP MakeWhiteBitmap(int width, int height) {
  HBITMAP bitmap = NewBitmap(width, height);
  if (!bitmap) return nullptr;
  Canvas canvas(bitmap);
  RECT all = {0, 0, width, height};
  FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  return bitmap;
}

void DrawHeaderLines(HBITMAP header) { DrawRows(header, BitmapSize(header).cy - 2); }

HBITMAP MakeHeaderImage(HBITMAP header, const std::string& title, const std::string& subtitle,
                        COLORREF textColour) {
  const SIZE size = BitmapSize(header);
  HBITMAP image = NewBitmap(size.cx, size.cy);
  if (!image) return nullptr;
  Canvas source(header);
  Canvas target(image);
  BitBlt(target.dc(), 0, 0, size.cx, size.cy, source.dc(), 0, 0, SRCCOPY);
  SetBkMode(target.dc(), TRANSPARENT);
  SetTextColor(target.dc(), textColour);
  HGDIOBJ old = SelectObject(target.dc(), StartupFont(3));
  TextOutA(target.dc(), Scaled(10), Scaled(11), title.c_str(), static_cast<int>(title.size()));
  SelectObject(target.dc(), StartupFont(2));
  TextOutA(target.dc(), Scaled(10), Scaled(32), subtitle.c_str(), static_cast<int>(subtitle.size()));
  SelectObject(target.dc(), old);
  return image;
}

void DrawSeparatorLines(HBITMAP separator) {
  if (separator) DrawRows(separator, 0);
}

}  // namespace corvalis
