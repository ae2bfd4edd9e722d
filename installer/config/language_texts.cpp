#include "installer/config/language_texts.h"

namespace corvalis {

void ReadLanguageTexts(const IniDocument& language, StubTextTable* stubTexts,
                       UninstallTextList* uninstallTexts) {
  for (int i = 0; i < kStubTextCount; ++i) {
    (*stubTexts)[i] = GetIniValue(language, "LocalizationStub", "Key" + std::to_string(i));
  }
  uninstallTexts->clear();
  if (const IniGroup* group = FindGroup(language, "LocalizationUninstall")) {
    for (const IniKey& key : group->Keys) uninstallTexts->emplace_back(key.Name, key.Value);
  }
}

std::string ExpandAppTexts(const std::string& text, const std::string& appName,
                           const std::string& version) {
  return ReplaceNoCase(ReplaceNoCase(text, "$APPNAME$", appName), "$APPVERSION$", version);
}

void ExpandStubPlaceholders(StubTextTable* stubTexts, const ScriptSettings& settings) {
  for (StubText key : {kTextLicenseSubtitle, kTextDestinationSubtitle, kTextWelcomeTitle, kTextFinishTitle}) {
    (*stubTexts)[key] = ExpandAppTexts((*stubTexts)[key], settings.AppName, settings.Version);
  }
}

int PreselectedLanguageIndex(const std::vector<LanguageEntry>& languages) {
  if (languages.empty()) return -1;
  int chosen = 0;
  for (std::size_t i = 0; i < languages.size(); ++i) {
    if (ToLowerAnsi(languages[i].Language) == "english") chosen = static_cast<int>(i);
  }
  return chosen;
}

std::string FindLanguagePath(const std::vector<LanguageEntry>& languages,
                             const std::string& selectedText) {
  const std::string wanted = ToLowerAnsi(TrimSpaces(selectedText));
  for (const LanguageEntry& entry : languages) {
    if (ToLowerAnsi(TrimSpaces(entry.Language)) == wanted) return entry.Path;
  }
  return std::string();
}

}  // namespace corvalis
