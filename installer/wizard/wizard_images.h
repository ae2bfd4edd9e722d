// The wizard's pictures, made once before the window: the package's two bitmaps fitted
// to their controls, the five page headers with their titles, the separator's lines.
#pragma once

#include <windows.h>

#include <string>

namespace corvalis {

// The bitmap file at path stretched to width x height (a bitmap of that size is copied
// unchanged); nullptr when the file can't be loaded as a bitmap.
HBITMAP LoadFittedBitmap(const std::string& path, int width, int height);

// A width x height bitmap filled with white.
HBITMAP MakeWhiteBitmap(int width, int height);

// Two lines across the bottom of the header: the button-shadow colour on its second-last
// row, the button-highlight colour on its last.
void DrawHeaderLines(HBITMAP header);

// A copy of header with title (font 3) at (10, 11) and subtitle (font 2) at (10, 32).
HBITMAP MakeHeaderImage(HBITMAP header, const std::string& title, const std::string& subtitle,
                        COLORREF textColour);

// The separator image: a button-shadow row above a button-highlight row.
void DrawSeparatorLines(HBITMAP separator);

}  // namespace corvalis
