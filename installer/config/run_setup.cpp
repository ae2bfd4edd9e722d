// The configuration half of RunSetup: language, statistics, free space, script,
// requirements. The wizard follows.
#include "installer/config/run_setup.h"

#include <windows.h>

#include "installer/config/ini_file.h"
#include "installer/config/language_selection.h"
#include "installer/config/language_texts.h"
#include "installer/config/script_reader.h"
#include "installer/config/setup_steps.h"
#include "installer/install_session.h"
#include "installer/package/work_folder.h"

namespace corvalis {

void FailWithMessage(const std::string& text) {
  MessageBoxA(nullptr, text.c_str(), Session().StubTexts[0].c_str(), MB_OK | MB_ICONSTOP);
  AbortInstaller();
}

void LoadLanguage(const std::string& path) {
  IniDocument language;
  if (!LoadIniFile(path, &language)) {
    // No language is loaded yet, so this one is fixed English.
    MessageBoxA(nullptr, "Could not read the localization file from the temporary directory!",
                "Error", MB_OK | MB_ICONSTOP);
    AbortInstaller();
  }
  ReadLanguageTexts(language, &Session().StubTexts, &Session().UninstallTexts);
}

void LoadStatistics() {
  std::string bytes;
  if (!ReadFileBytes(Session().StatisticsPath, &bytes) ||
      !ParseStatistics(bytes, &Session().RequiredSpace)) {
    FailWithMessage(Session().StubTexts[1]);
  }
}

bool FreeSpaceAtLeast(std::uint64_t bytes) {
  char temp[MAX_PATH + 1];
  DWORD length = GetTempPathA(sizeof temp, temp);
  if (length == 0 || length > MAX_PATH) return false;
  const std::string drive(temp, length < 3 ? length : 3);
  ULARGE_INTEGER available;
  if (!GetDiskFreeSpaceExA(drive.c_str(), &available, nullptr, nullptr)) return false;
  return available.QuadPart >= bytes;
}

void LoadScript() {
  InstallSession& session = Session();
  IniDocument script;
  if (!LoadIniFile(session.ScriptPath, &script)) FailWithMessage(session.StubTexts[3]);
  session.ScriptSettings = ReadScriptSettings(script);
  DeleteFileA(session.ScriptPath.c_str());
}

void RunSetup(const std::string& languageFile) {
  InstallSession& session = Session();
  LoadLanguage(languageFile);
  LoadStatistics();
  if (!FreeSpaceAtLeast(session.RequiredSpace)) FailWithMessage(session.StubTexts[2]);
  LoadScript();
  ExpandStubPlaceholders(&session.StubTexts, session.ScriptSettings);
  CheckRequirements();

  // The wizard takes over from here; until it exists the installer ends cleanly.
  AbortInstaller();
}

}  // namespace corvalis
