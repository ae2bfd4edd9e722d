// The system-requirement checks against the running system.
#include <windows.h>
#include <shellapi.h>

#include "common/exit_codes.h"
#include "common/message_box.h"
#include "common/operations_settings.h"
#include "common/run_mode.h"
#include "common/special_folders.h"
#include "installer/config/language_texts.h"
#include "installer/config/requirements.h"
#include "installer/config/setup_steps.h"

namespace corvalis {

bool IsFrameworkInstalled(const std::string& version) {
  std::string folder = SpecialFolder(kCsidlWindows);
  if (folder.empty()) return false;
  folder += "Microsoft.NET\\Framework\\";

  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool installed = false;
  do {
    const std::string name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") {
      installed = FrameworkFolderMatches(name, version);
    }
  } while (!installed && FindNextFileA(search, &found));
  FindClose(search);
  return installed;
}

Outcome CheckRequirements(const InstallSession& session) {
  const ScriptSettings& script = session.ScriptSettings;

  if (int key = OsRefusalMessageKey(Operations().OsVersionCode, script)) {
    return FailWithMessage(session, session.StubTexts[key]);
  }

  const std::string version = RequiredFrameworkVersion(script.DotNet);
  if (version.empty() || IsFrameworkInstalled(version)) return kGoOn;
  ShowMessageBox(nullptr, FrameworkMissingMessage(session.StubTexts[kTextFrameworkMissing], version),
                 session.StubTexts[kTextErrorTitle], MB_OK | MB_ICONSTOP);
  // Nobody would read the page a silent run opened.
  const std::string address = DependencyAddressToOpen(script.RunIfDepNotFound);
  if (!address.empty() && !IsSilentRun()) {
    ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
  return EndRun(kExitFailure);
}

}  // namespace corvalis
