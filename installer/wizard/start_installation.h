#pragma once

namespace corvalis {

// Leaving the last page before the progress page.
void StartInstallation();

}  // namespace corvalis
