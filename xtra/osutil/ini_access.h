// One value of an INI file, read, written or deleted through SimpleIni. In UTF-8 mode
// the file's UTF-8 signature is skipped on reading and written on saving; otherwise
// the file is 8-bit text and a signature is just bytes in front of its first line.
// Section and key names match without regard to the case of ASCII letters.
#pragma once

#include <cstddef>

// The value cut into out (n bytes); false, with out empty, for a missing file, section or key.
bool ReadIniValue(const char* file, const char* section, const char* key, bool utf8, char* out, size_t n);
// Sets the value, adding the section and key when missing, and saves the whole file.
// Folders on the path are not created.
bool WriteIniValue(const char* file, const char* section, const char* key, const char* value, bool utf8);
// Deletes the key, and the section once it is empty; the file is saved only when
// something was deleted.
bool DeleteIniValue(const char* file, const char* section, const char* key, bool utf8);
