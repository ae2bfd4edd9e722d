// Choosing the language file and reading its texts.
#pragma once

#include "common/exit_codes.h"

#include <string>
#include <vector>

#include "installer/install_session.h"

namespace corvalis {

// The selection dialog over languages; *chosen is the chosen entry's Path, or empty when no
// entry matches the choice. Cancel/Yes and an empty list end the run.
Outcome ChooseLanguage(const std::vector<LanguageEntry>& languages, std::string* chosen);

// The language file of this run into *path: the one /LANG names, the only one, in a silent
// run the one the dialog would preselect, else the dialog's choice. The run ends when the
// package has none or /LANG names none of them; *path is empty when the dialog's choice
// matches none.
Outcome PickLanguage(const InstallSession& session, std::string* path);

// Reads the file's installer texts into StubTexts and its uninstaller texts into
// UninstallTexts; an unreadable file ends the run with a fixed English message.
Outcome LoadLanguage(InstallSession& session, const std::string& path);

}  // namespace corvalis
