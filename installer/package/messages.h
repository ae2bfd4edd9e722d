// The fixed English texts of package preparation and export (no language is loaded yet).
#pragma once

#include "common/start_messages.h"
#include "installer/startup/startup_texts.h"

namespace corvalis {

// What ends the preparation or the export.
constexpr const char* kCannotReadPackageText =
    "Could not read the data contained inside. Please restart you PC and run this installer again.";
constexpr const char* kIncompletePackageText =
    "This installer is incomplete! If you downloaded it from the Internet try to transfer it again.";
constexpr const char* kCorruptedPackageText = "This installer is corrupted. Please obtain another copy of it.";
constexpr const char* kNoFreeSpaceText =
    "You do not have enough free space on your drive. Please free some space and run this installer again.";
constexpr const char* kCannotCreateTempFileText = "Could not create the temporary file at location: \r\n";

constexpr const char* kPreparingTitle = "Initializing...";
constexpr const char* kPreparingText = "Please wait while the installer prepares the wizard...";
constexpr const char* kExportTitle = "Unpacking data contained for external check...";
constexpr const char* kCancelButtonText = "Cancel";

}  // namespace corvalis
