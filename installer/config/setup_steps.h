// The configuration steps between the language file and the wizard. Each one that
// fails shows its message (titled with the error title) and ends the run. The order they run in
// is the setup flow's (installer/setup_flow.cpp).
#pragma once

#include <cstdint>
#include <string>

#include "common/exit_codes.h"
#include "installer/install_session.h"

namespace corvalis {

// RequiredSpace from StatisticsPath; kTextStatisticsUnreadable when it can't be read.
Outcome LoadStatistics(InstallSession& session);

// Free space available to the user on the temporary folder's drive; false when the
// query fails.
bool FreeSpaceAtLeast(std::uint64_t bytes);

// ScriptSettings from ScriptPath, then deletes the file; kTextScriptUnreadable when it
// can't be read.
Outcome LoadScript(InstallSession& session);

// Windows version (from the operations' settings) against the script's switches, then the
// .NET Framework (kTextFrameworkMissing, opening RunIfDepNotFound).
Outcome CheckRequirements(const InstallSession& session);

// True when the Windows folder's Microsoft.NET\Framework\ holds a folder for version
// ("1.0", "1.1", "2.0", "3.0" or "3.5").
bool IsFrameworkInstalled(const std::string& version);

// RegisteredLocation and RegisteredVersion from the uninstall entry of the script's AppName,
// logged, and a downgrade said so.
void FindRegisteredInstallation(InstallSession& session);

// Shows text under the session's error title with the stop icon; the run ends with
// exitCode.
Outcome FailWithMessage(const InstallSession& session, const std::string& text, int exitCode = kExitFailure);

}  // namespace corvalis
