// Language files and the texts taken from them, without touching the system.
#pragma once

#include <string>
#include <vector>

#include "common/ini_file.h"
#include "installer/install_session.h"

namespace corvalis {

using UninstallTextList = std::vector<std::pair<std::string, std::string>>;

// "LocalizationStub" Key0..Key96 (missing keys empty) and every key of
// "LocalizationUninstall" in file order.
void ReadLanguageTexts(const IniDocument& language, StubTextTable* stubTexts,
                       UninstallTextList* uninstallTexts);

// Every "$APPNAME$", then every "$APPVERSION$", in any letter case.
std::string ExpandAppTexts(const std::string& text, const std::string& appName,
                           const std::string& version);

// The only texts that carry the placeholders: the licence and destination subtitles and
// the welcome and finish titles.
void ExpandStubPlaceholders(StubTextTable* stubTexts, const ScriptSettings& settings);

// The item the dialog selects first: the last entry named exactly "english" in lower
// case, else the first; -1 for an empty list.
int PreselectedLanguageIndex(const std::vector<LanguageEntry>& languages);

// Path of the first entry whose name matches the selected text, both lower-cased and
// trimmed of spaces; empty when none does.
std::string FindLanguagePath(const std::vector<LanguageEntry>& languages,
                             const std::string& selectedText);

// /LANG's language, as deployment tools name it: by its display name ("Deutsch"), by its
// English name as the file names it ("German" for "German@utf-8.ini"), or by its ISO 639-1
// code ("de"); any letter case. Empty when none matches.
std::string FindLanguageByName(const std::vector<LanguageEntry>& languages, const std::string& wanted);

}  // namespace corvalis
