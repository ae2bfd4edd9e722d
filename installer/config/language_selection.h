// Choosing the language file and reading its texts.
#pragma once

#include <string>
#include <vector>

#include "installer/install_session.h"

namespace corvalis {

// The selection dialog over languages; returns the chosen entry's Path, or an empty
// text when no entry matches the choice. Ends the installer itself on Cancel/Yes and
// when the list is empty.
std::string ChooseLanguage(const std::vector<LanguageEntry>& languages);

// Reads the file's installer texts into StubTexts and its uninstaller texts into
// UninstallTexts; an unreadable file ends the installer with a fixed English message.
void LoadLanguage(InstallSession& session, const std::string& path);

}  // namespace corvalis
