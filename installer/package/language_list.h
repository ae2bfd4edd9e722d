// The languages a package offers: the header group of each language file.
#pragma once

#include <string>
#include <vector>

#include "installer/install_session.h"

namespace corvalis {

constexpr const char* kLanguageHeaderGroup = "VLX Localization File";

// A language counts when its name, trimmed of spaces, is not empty.
inline bool IsUsableLanguageName(const std::string& language) {
  return language.find_first_not_of(' ') != std::string::npos;
}

// The languages of the "*.ini" files in folder (ending in "\"), in directory order; files
// that can't be read or have no usable "Language" are left out.
std::vector<LanguageEntry> ListLanguages(const std::string& folder);

}  // namespace corvalis
