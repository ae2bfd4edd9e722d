// The installer's entry sequence: version and rights, single instance, start-up
// resources, command line, then the package, the language and the setup.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/operations_settings.h"
#include "common/system_dlls.h"
#include "installer/config/language_selection.h"
#include "installer/install_session.h"
#include "installer/startup/command_line.h"
#include "installer/startup/startup_texts.h"
#include "common/os_version.h"
#include "installer/package/prepare_package.h"
#include "installer/startup/instance_mutex.h"
#include "installer/setup_flow.h"
#include "installer/startup/startup_resources.h"
#include "installer/work_folder.h"

using namespace corvalis;

namespace {

void Say(const char* text, const char* title, UINT icon) { MessageBoxA(nullptr, text, title, MB_OK | icon); }

std::vector<std::string> FirstTwoParameters() {
  std::vector<std::string> params;
  for (int i = 1; i < __argc && i <= 2; ++i) params.push_back(__argv[i] ? __argv[i] : "");
  return params;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  RestrictDllSearchPath();
  InstallSession& session = Session();
  OperationsSettings operations;
  operations.OsVersionCode = ClassifyOsVersion(QueryOsVersion());
  SetOperations(operations);
  if (!IsBefore2000(operations.OsVersionCode)) {
    if (!IsAdministrator()) {
      Say(kNeedAdministratorText, kErrorTitle, MB_ICONSTOP);
      return 0;
    }
  } else if (IsUnsupported(operations.OsVersionCode)) {
    Say(kCompatibilityText, kCompatibilityTitle, MB_ICONSTOP);
    return 0;
  }

  CreateStartupResources(instance);
  if (!ClaimInstanceMutex()) {
    Say(kAnotherInstanceText, kAnotherInstanceTitle, MB_ICONWARNING);
    return 0;
  }

  CommandLineChoice choice = ParseCommandLine(FirstTwoParameters());
  if (choice.action == StartAction::Export) {
    ExportApplicationArchive(choice.exportFolder);
    Say(kExportDoneText, kExportDoneTitle, MB_ICONINFORMATION);
    return 0;
  }
  if (choice.action == StartAction::Usage) {
    Say(kUsageText, kErrorTitle, MB_ICONINFORMATION);
    return 0;
  }

  PreparePackage();
  session.LanguageFile =
      session.Languages.size() == 1 ? session.Languages.front().Path : ChooseLanguage(session.Languages);
  if (session.LanguageFile.empty()) {
    Say(kNoLanguageChosenText, kErrorTitle, MB_ICONSTOP);
    AbortInstaller();
  }
  RunSetup(session);
}
