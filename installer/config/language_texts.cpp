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
  return ReplaceWithinLimit(ReplaceWithinLimit(text, "$APPNAME$", appName), "$APPVERSION$", version);
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

namespace {

// The English names of the languages installers are most often made in, by ISO 639-1 code.
constexpr const char* kIsoLanguages[][2] = {
    {"ar", "arabic"},    {"bg", "bulgarian"}, {"ca", "catalan"},    {"cs", "czech"},     {"da", "danish"},
    {"de", "german"},    {"el", "greek"},     {"en", "english"},    {"es", "spanish"},   {"et", "estonian"},
    {"fi", "finnish"},   {"fr", "french"},    {"he", "hebrew"},     {"hr", "croatian"},  {"hu", "hungarian"},
    {"it", "italian"},   {"ja", "japanese"},  {"ko", "korean"},     {"lt", "lithuanian"}, {"lv", "latvian"},
    {"nl", "dutch"},     {"no", "norwegian"}, {"pl", "polish"},     {"pt", "portuguese"}, {"ro", "romanian"},
    {"ru", "russian"},   {"sk", "slovak"},    {"sl", "slovenian"},  {"sr", "serbian"},   {"sv", "swedish"},
    {"th", "thai"},      {"tr", "turkish"},   {"uk", "ukrainian"},  {"zh", "chinese"},
};

// "German@utf-8.ini" -> "german".
std::string FileLanguageName(const std::string& path) {
  const std::string name = FileNamePart(path);
  return ToLowerAnsi(name.substr(0, name.find_first_of("@.")));
}

}  // namespace

std::string FindLanguageByName(const std::vector<LanguageEntry>& languages, const std::string& wanted) {
  std::string path = FindLanguagePath(languages, wanted);
  if (!path.empty()) return path;
  std::string english = ToLowerAnsi(TrimSpaces(wanted));
  for (const auto& iso : kIsoLanguages) {
    if (english == iso[0]) english = iso[1];
  }
  for (const LanguageEntry& entry : languages) {
    if (FileLanguageName(entry.Path) == english) return entry.Path;
  }
  return std::string();
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
