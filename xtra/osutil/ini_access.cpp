#include "xtra/osutil/ini_access.h"

// The library keeps a std::string inside. Instantiating the few string members it uses
// here, instead of linking the runtime's whole prebuilt string code, keeps the Xtra small.
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE -1

// Plain 8-bit text with ASCII-only case folding: no code-page conversion inside the library.
#define SI_NO_CONVERSION
// Debian's header keeps the template bodies behind this; this file is their one user.
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <cstdio>
#include <cstdlib>

#include "xtra/osutil/nel_text.h"

namespace {

// A file too large for an INI document we would ever write is refused rather than read.
constexpr long kMaxIniBytes = 64L * 1024 * 1024;

// The library would take a signature as UTF-8 mode even in 8-bit mode; a line break in
// front keeps the bytes where the file has them, on its first line.
bool LoadDocument(CSimpleIniA& ini, const char* file, bool utf8) {
  FILE* stream = std::fopen(file, "rb");
  if (!stream) return false;
  bool loaded = false;
  long size = -1;
  if (std::fseek(stream, 0, SEEK_END) == 0) size = std::ftell(stream);
  if (size >= 0 && size <= kMaxIniBytes && std::fseek(stream, 0, SEEK_SET) == 0) {
    const size_t offset = utf8 ? 0 : 1;
    char* data = static_cast<char*>(std::malloc(static_cast<size_t>(size) + offset + 1));
    if (data) {
      data[0] = '\n';
      const size_t got = std::fread(data + offset, 1, static_cast<size_t>(size), stream);
      if (got == static_cast<size_t>(size)) loaded = ini.LoadData(data, got + offset) >= 0;
      std::free(data);
    }
  }
  std::fclose(stream);
  return loaded;
}

// One document per call, written back as name=value lines.
struct IniDocument {
  explicit IniDocument(bool utf8) : ini(utf8, false, false) { ini.SetSpaces(false); }
  CSimpleIniA ini;
};

// A file that can't be read is written from scratch.
void LoadOrStartEmpty(CSimpleIniA& ini, const char* file, bool utf8) {
  if (!LoadDocument(ini, file, utf8)) ini.Reset();
}

bool Save(const CSimpleIniA& ini, const char* file) { return ini.SaveFile(file, true) >= 0; }

}  // namespace

bool ReadIniValue(const char* file, const char* section, const char* key, bool utf8, char* out, size_t n) {
  CopyCut("", out, n);
  IniDocument document(utf8);
  CSimpleIniA& ini = document.ini;
  if (!LoadDocument(ini, file, utf8)) return false;
  const char* value = ini.GetValue(section, key, nullptr);
  if (!value) return false;
  CopyCut(value, out, n);
  return true;
}

bool WriteIniValue(const char* file, const char* section, const char* key, const char* value, bool utf8) {
  IniDocument document(utf8);
  CSimpleIniA& ini = document.ini;
  LoadOrStartEmpty(ini, file, utf8);
  if (ini.SetValue(section, key, value) < 0) return false;
  return Save(ini, file);
}

bool DeleteIniValue(const char* file, const char* section, const char* key, bool utf8) {
  IniDocument document(utf8);
  CSimpleIniA& ini = document.ini;
  LoadOrStartEmpty(ini, file, utf8);
  if (!ini.Delete(section, key, true)) return false;
  return Save(ini, file);
}
