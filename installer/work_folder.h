// The private work folder under the temporary folder.
#pragma once

#include "installer/install_session.h"

namespace corvalis {

// Deletes WorkFolder with everything in it (read-only files too), if it is set, and the
// private folder around it in an elevated run.
void RemoveWorkFolder(const InstallSession& session);

}  // namespace corvalis
