// The fixed English texts of start-up and package preparation (no language is loaded yet).
#pragma once

#include "common/start_messages.h"

namespace corvalis {

// Package preparation and export, messages 1 to 5.
constexpr const char* kCannotReadPackageText =
    "Could not read the data contained inside. Please restart you PC and run this installer again.";
constexpr const char* kIncompletePackageText =
    "This installer is incomplete! If you downloaded it from the Internet try to transfer it again.";
constexpr const char* kCorruptedPackageText = "This installer is corrupted. Please obtain another copy of it.";
constexpr const char* kNoFreeSpaceText =
    "You do not have enough free space on your drive. Please free some space and run this installer again.";
constexpr const char* kCannotCreateTempFileText = "Could not create the temporary file at location: \r\n";

constexpr const char* kConfirmCancelTitle = "Please confirm";
constexpr const char* kConfirmCancelText =
    "Are you sure you want to stop the installation now? Press 'No' to continue or 'Yes' to end this "
    "program. You can run this installer at a later time and continue the installation procedure.";

constexpr const char* kPreparingTitle = "Initializing...";
constexpr const char* kPreparingText = "Please wait while the installer prepares the wizard...";
constexpr const char* kExportTitle = "Unpacking data contained for external check...";
constexpr const char* kCancelButtonText = "Cancel";

// Start-up.
constexpr const char* kCompatibilityTitle = "Compatibility problem";
constexpr const char* kCompatibilityText =
    "We are sorry, Corvalis Packwright was designed for WinNT and later operating systems. Please upgrade your PC!";
constexpr const char* kInstanceMutexName = "CorvalisInstaller";
constexpr const char* kAnotherInstanceTitle = kProductTitle;
constexpr const char* kAnotherInstanceText =
    "Another installation driven by TQS is in progress. Please finish the active installation and run this "
    "installer again.";
constexpr const char* kUsageText =
    "If you want to unpack the contained files to check them before installation, the syntax is:\r\n"
    "Installer.exe -u [PathToStoreUnpackedFiles]";
constexpr const char* kExportDoneTitle = "Success";
constexpr const char* kExportDoneText =
    "The file was written. You can unpack them with any ZIP compatible archiver.";
constexpr const char* kNoLanguageText = "This installer is corrupted. Please obtain another copy and retry installation.";

}  // namespace corvalis
