// Texts crossing the Lingo boundary. The host speaks UTF-8 or the ANSI code page
// (hostUsesUtf8); the methods work in ANSI, and INI files in UTF-8 mode hold UTF-8.
// Every conversion writes at most n - 1 bytes and a NUL into out, cutting at a
// character boundary when the converted text outgrows its buffer.
#pragma once

#include <cstddef>

// Set at each instance creation from the host's version text.
extern bool hostUsesUtf8;

// Re-encodes text between two code pages through UTF-16.
void ConvertCodePage(const char* text, unsigned fromCodePage, unsigned toCodePage, char* out, size_t n);

// System text (ANSI) to the host's encoding.
void ToHostText(const char* text, char* out, size_t n);
// The host's text to ANSI.
void FromHostText(const char* text, char* out, size_t n);
// FromHostText, with every "/" made "\".
void PathFromHost(const char* text, char* out, size_t n);
// An INI name or value: UTF-8 when isUtf8 is 1, otherwise FromHostText.
void IniNameFromHost(const char* text, int isUtf8, char* out, size_t n);
// An INI value to the host: from UTF-8 when isUtf8 is 1, otherwise ToHostText.
void IniTextToHost(const char* text, int isUtf8, char* out, size_t n);
