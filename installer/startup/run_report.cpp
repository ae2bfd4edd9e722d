#include "installer/startup/run_report.h"

#include <windows.h>

#include "common/ansi_text.h"
#include "common/operations_settings.h"
#include "common/os_version.h"
#include "common/special_folders.h"

namespace corvalis {

namespace {

const char* ModeName(RunMode mode) {
  switch (mode) {
    case RunMode::Interactive: return "interactive";
    case RunMode::Silent: return "silent";
    case RunMode::VerySilent: return "very silent";
  }
  return "";
}

}  // namespace

void BeginRunLog(InstallSession& session, bool administrator) {
  session.StartedAt = CurrentLogTime();
  if (!session.Options.Log) return;
  StartRunLog();
  if (!session.Options.LogPath.empty()) OpenRunLog(session.Options.LogPath, false);
  const OsVersionData os = QueryOsVersion();
  LogLine("installer " + OwnProgramPath() + " (Corvalis Install Platform)");
  LogLine("command line: " + std::string(GetCommandLineA()));
  LogLine("Windows " + std::to_string(os.major) + "." + std::to_string(os.minor) + ", platform " +
          std::to_string(os.platformId) + ", version code " + std::to_string(Operations().OsVersionCode) +
          (administrator ? ", administrator" : ", not administrator"));
  LogLine(std::string("run: ") + ModeName(CurrentRunMode()));
}

void OpenDefaultRunLog(const InstallSession& session) {
  if (!RunLogStarted() || RunLogIsOpen()) return;
  std::string name = session.ScriptSettings.AppName;
  // Before the script is read the program's own name says it all ("Setup-<time>.log").
  const char* what = name.empty() ? "" : "Setup";
  if (name.empty()) {
    name = FileNamePart(OwnProgramPath());
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
  }
  OpenRunLog(DefaultLogPath(TemporaryFolder(), name, what, session.StartedAt), false);
}

}  // namespace corvalis
