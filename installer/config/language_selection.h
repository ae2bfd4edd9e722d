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

// The language file of this run: the one /LANG names, the only one, in a silent run the
// one the dialog would preselect, else the dialog's choice. Ends the installer when the
// package has none or /LANG names none of them; empty when the dialog's choice matches none.
std::string PickLanguage(const InstallSession& session);

// Reads the file's installer texts into StubTexts and its uninstaller texts into
// UninstallTexts; an unreadable file ends the installer with a fixed English message.
void LoadLanguage(InstallSession& session, const std::string& path);

}  // namespace corvalis
