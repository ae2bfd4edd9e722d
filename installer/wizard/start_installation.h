// The wizard's end: the progress page while the engine installs, cancelling with its
// roll-back, and the finish page with its optional actions.
#pragma once

#include <string>

#include "installer/install_session.h"

namespace corvalis {

// Fills FinishActions and the finish page's checklist from the installation tasks (whose
// program placeholders it expands in place); the checklist stays hidden without items.
void BuildFinishActions(InstallSession& session);

// Leaving the last page before the progress page: the installation run, then page 6.
void StartInstallation();

// The unpacking hook: progress, status line, InstalledFiles, and the Cancel button.
void OnUnpackProgress(const std::string& name, float percent);
// The downloads' hook; the name is not used. Never stops a download.
int OnDownloadProgress(const std::string& name, float percent);

// Deletes the unpacked files, then the folders the unpacking created below and at
// `folder`, deepest first, each only when empty.
void RollbackInstalledFiles(const std::string& folder);

// The "Finish" button: the ticked actions, the uninstaller and its data; ends the process.
[[noreturn]] void Finish();

}  // namespace corvalis
