// Temporary stand-ins until the language and script code lands.
#include "installer/config/language_selection.h"
#include "installer/config/run_setup.h"
#include "installer/install_session.h"
#include "installer/package/work_folder.h"

namespace corvalis {

std::string ChooseLanguage() {
  return Session().Languages.empty() ? std::string() : Session().Languages.front().Path;
}

void RunSetup(const std::string&) { AbortInstaller(); }

}  // namespace corvalis
