#include "xtra/osutil/text_conversion.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "xtra/osutil/nel_text.h"
#include "xtra/osutil/path_text.h"

bool hostUsesUtf8 = false;

namespace {

// Takes whole characters while they fit; a surrogate pair is one character.
size_t FitWide(const wchar_t* wide, int units, unsigned codePage, char* out, size_t room) {
  size_t used = 0;
  for (int i = 0; i < units;) {
    const int step = (IS_HIGH_SURROGATE(wide[i]) && i + 1 < units && IS_LOW_SURROGATE(wide[i + 1])) ? 2 : 1;
    const int need = WideCharToMultiByte(codePage, 0, wide + i, step, nullptr, 0, nullptr, nullptr);
    if (need <= 0 || used + static_cast<size_t>(need) > room) break;
    WideCharToMultiByte(codePage, 0, wide + i, step, out + used, need, nullptr, nullptr);
    used += static_cast<size_t>(need);
    i += step;
  }
  return used;
}

// The host's text is copied as it is; cutting UTF-8 keeps whole characters.
void CopyHostText(const char* text, bool utf8, char* out, size_t n) {
  if (n == 0) return;
  const size_t length = utf8 ? Utf8CutLength(text, n - 1) : std::strlen(text);
  const size_t take = length < n - 1 ? length : n - 1;
  std::memcpy(out, text, take);
  out[take] = '\0';
}

}  // namespace

void ConvertCodePage(const char* text, unsigned fromCodePage, unsigned toCodePage, char* out, size_t n) {
  if (n == 0) return;
  out[0] = '\0';
  size_t length = std::strlen(text);
  if (length == 0) return;
  // One byte never makes more than one UTF-16 unit, so n - 1 bytes always fit n units.
  if (length > n - 1) length = fromCodePage == CP_UTF8 ? Utf8CutLength(text, n - 1) : n - 1;
  auto* wide = static_cast<wchar_t*>(std::malloc(n * sizeof(wchar_t)));
  if (!wide) return;
  const int units = MultiByteToWideChar(fromCodePage, 0, text, static_cast<int>(length), wide, static_cast<int>(n - 1));
  if (units > 0) {
    int bytes = WideCharToMultiByte(toCodePage, 0, wide, units, out, static_cast<int>(n - 1), nullptr, nullptr);
    if (bytes <= 0) bytes = static_cast<int>(FitWide(wide, units, toCodePage, out, n - 1));
    out[bytes] = '\0';
  }
  std::free(wide);
}

void ToHostText(const char* text, char* out, size_t n) {
  if (hostUsesUtf8) {
    ConvertCodePage(text, CP_ACP, CP_UTF8, out, n);
  } else {
    CopyHostText(text, false, out, n);
  }
}

void FromHostText(const char* text, char* out, size_t n) {
  if (hostUsesUtf8) {
    ConvertCodePage(text, CP_UTF8, CP_ACP, out, n);
  } else {
    CopyHostText(text, false, out, n);
  }
}

void PathFromHost(const char* text, char* out, size_t n) {
  FromHostText(text, out, n);
  SlashesToBackslashes(out);
}

void IniNameFromHost(const char* text, int isUtf8, char* out, size_t n) {
  if (isUtf8 != 1) {
    FromHostText(text, out, n);
  } else if (hostUsesUtf8) {
    CopyHostText(text, true, out, n);
  } else {
    ConvertCodePage(text, CP_ACP, CP_UTF8, out, n);
  }
}

void IniTextToHost(const char* text, int isUtf8, char* out, size_t n) {
  if (isUtf8 != 1) {
    ToHostText(text, out, n);
  } else if (hostUsesUtf8) {
    CopyHostText(text, true, out, n);
  } else {
    ConvertCodePage(text, CP_UTF8, CP_ACP, out, n);
  }
}
