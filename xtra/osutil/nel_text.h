// Small text helpers on fixed buffers: every write stays inside n bytes and leaves the
// text NUL-terminated.
#pragma once

#include <cstddef>
#include <cstdint>

// At most n - 1 bytes of text and a NUL.
void CopyCut(const char* text, char* out, size_t n);
// Appends as much of text as fits.
void AppendCut(char* out, size_t n, const char* text);
void AppendDecimal(char* out, size_t n, int32_t value);
// The length of text cut to at most limit bytes without splitting a UTF-8 sequence.
size_t Utf8CutLength(const char* text, size_t limit);
