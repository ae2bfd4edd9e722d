#include "xtra/osutil/nel_text.h"

#include <cstring>

void CopyCut(const char* text, char* out, size_t n) {
  if (n == 0) return;
  out[0] = '\0';
  AppendCut(out, n, text);
}

void AppendCut(char* out, size_t n, const char* text) {
  size_t length = std::strlen(out);
  while (*text && length + 1 < n) out[length++] = *text++;
  if (length < n) out[length] = '\0';
}

void AppendDecimal(char* out, size_t n, int32_t value) {
  char digits[12];
  size_t i = sizeof digits;
  digits[--i] = '\0';
  // Through unsigned, so the most negative value has a magnitude too.
  uint32_t magnitude = value < 0 ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  do {
    digits[--i] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  if (value < 0) digits[--i] = '-';
  AppendCut(out, n, digits + i);
}

size_t Utf8CutLength(const char* text, size_t limit) {
  size_t length = std::strlen(text);
  if (length <= limit) return length;
  length = limit;
  // Back over continuation bytes to the start of the sequence that didn't fit.
  while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
  return length;
}
