// The configuration steps: language, statistics, free space, script.
#include "installer/config/setup_steps.h"

#include <windows.h>

#include "common/ansi_text.h"
#include "common/ini_file.h"
#include "common/message_box.h"
#include "common/start_messages.h"
#include "common/run_log.h"
#include "common/special_folders.h"
#include "common/system_operations.h"
#include "common/uninstall_data.h"
#include "common/whole_file.h"
#include "installer/config/language_selection.h"
#include "installer/config/language_texts.h"
#include "installer/config/script_reader.h"

namespace corvalis {

Outcome FailWithMessage(const InstallSession& session, const std::string& text, int exitCode) {
  ShowMessageBox(nullptr, text, session.StubTexts[kTextErrorTitle], MB_OK | MB_ICONSTOP);
  return EndRun(exitCode);
}

Outcome LoadLanguage(InstallSession& session, const std::string& path) {
  IniDocument language;
  if (!LoadIniFile(path, &language)) {
    // No language is loaded yet, so this one is fixed English.
    ShowMessageBox(nullptr, "Could not read the localization file from the temporary directory!", kErrorTitle,
                   MB_OK | MB_ICONSTOP);
    return EndRun(kExitFailure);
  }
  ReadLanguageTexts(language, &session.StubTexts, &session.UninstallTexts);
  return kGoOn;
}

Outcome LoadStatistics(InstallSession& session) {
  std::string bytes;
  if (ReadWholeFile(session.StatisticsPath, kMaxIniFileBytes, &bytes) != FileRead::Ok ||
      !ParseStatistics(bytes, &session.RequiredSpace)) {
    return FailWithMessage(session, session.StubTexts[kTextStatisticsUnreadable]);
  }
  return kGoOn;
}

bool FreeSpaceAtLeast(std::uint64_t bytes) {
  std::uint64_t available = 0;
  return FreeSpaceOfDrive(TemporaryFolder(), &available) && available >= bytes;
}

Outcome LoadScript(InstallSession& session) {
  IniDocument script;
  if (!LoadIniFile(session.ScriptPath, &script)) return FailWithMessage(session, session.StubTexts[kTextScriptUnreadable]);
  session.ScriptSettings = ReadScriptSettings(script);
  DeleteFileA(session.ScriptPath.c_str());
  return kGoOn;
}

void FindRegisteredInstallation(InstallSession& session) {
  const ScriptSettings& script = session.ScriptSettings;
  if (script.AppName.empty()) return;
  const std::string key = kUninstallEntryKey + script.AppName;
  const std::string location = ReadRegistryText(HKEY_LOCAL_MACHINE, key, "InstallLocation");
  // Only a full path names a folder to go back to; anything else is not our entry's.
  if (!IsFullPath(location) || HasNamespacePrefix(location)) return;
  session.RegisteredLocation = WithTrailingBackslash(location);
  session.RegisteredVersion = ReadRegistryText(HKEY_LOCAL_MACHINE, key, "DisplayVersion");
  LogLine("installed before: " + session.RegisteredVersion + " in " + session.RegisteredLocation);
  if (CompareDottedVersions(session.RegisteredVersion, script.Version) > 0) {
    LogLine("downgrade: " + session.RegisteredVersion + " is replaced by the older " + script.Version);
  }
}

}  // namespace corvalis
