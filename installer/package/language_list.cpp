#include "installer/package/language_list.h"

#include <windows.h>

#include "common/ini_file.h"

namespace corvalis {

namespace {

bool HasIniExtension(const std::string& name) {
  return name.size() >= 4 && EqualsNoCase(name.substr(name.size() - 4), ".ini");
}

}  // namespace

std::vector<LanguageEntry> ListLanguages(const std::string& folder) {
  std::vector<LanguageEntry> languages;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*.ini").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return languages;
  do {
    // The pattern also matches through short names (".inix"), hence the second look.
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !HasIniExtension(found.cFileName)) continue;
    const std::string path = folder + found.cFileName;
    IniDocument document;
    if (!LoadIniFile(path, &document)) continue;
    std::string language = GetIniValue(document, kLanguageHeaderGroup, "Language");
    if (IsUsableLanguageName(language))
      languages.push_back({language, GetIniValue(document, kLanguageHeaderGroup, "Author"), path});
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return languages;
}

}  // namespace corvalis
