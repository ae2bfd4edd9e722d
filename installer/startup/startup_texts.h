// The installer's fixed English texts of start-up, before any language is loaded: the
// version and rights checks, the single instance, the command line, and the cancel
// question of the windows that come before the language (preparation, language choice).
#pragma once

#include <windows.h>

#include "common/start_messages.h"

namespace corvalis {

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
// The unattended switches, for /HELP and for a command line that gets them wrong.
constexpr const char* kSwitchUsageText =
    "Installer.exe [/VERYSILENT | /SILENT] [/DIR=\"folder\"] [/GROUP=\"name\" | /NOICONS] [/LANG=language]\r\n"
    "    [/LOG[=\"file\"]] [/NORESTART | /FORCERESTART]\r\n"
    "Installer.exe -u [PathToStoreUnpackedFiles]\r\n"
    "Exit codes: 0 success, 3010 restart needed, 1641 restart started, 1602 cancelled, 1618 another "
    "installation is running, 87 invalid command line, 112 not enough disk space, 740 not an administrator, "
    "1603 any other failure.";
constexpr const char* kExportDoneTitle = "Success";
constexpr const char* kExportDoneText =
    "The file was written. You can unpack them with any ZIP compatible archiver.";
constexpr const char* kNoLanguageChosenText =
    "This installer is corrupted. Please obtain another copy and retry installation.";

constexpr const char* kNoSuchLanguageText = "This installer has no language of that name: ";

// A file of the installation that can't be written (the language files have no text for
// it): its path stands between the two.
constexpr const char* kFileNotWrittenText = "This file could not be written:\r\n";
constexpr const char* kFileNotWrittenAdvice =
    "It may be in use by a program. Close that program and press 'Retry', or 'Cancel' to stop the installation.";
// A name the ANSI code page can't hold, on a volume that gives no short names: the
// uninstaller, which reads ANSI, couldn't remove it. The name follows.
constexpr const char* kNoShortNamesText =
    "The destination's drive keeps no short names, so this file could not be removed again:\r\n";
// The same for a full volume: the path and the system's reason stand between the two.
constexpr const char* kDiskFullText = "There is not enough space to write this file:\r\n";
constexpr const char* kDiskFullAdvice = "Free some space on that drive and press 'Retry', or 'Cancel' to stop the installation.";

constexpr const char* kConfirmCancelTitle = "Please confirm";
constexpr const char* kConfirmCancelText =
    "Are you sure you want to stop the installation now? Press 'No' to continue or 'Yes' to end this "
    "program. You can run this installer at a later time and continue the installation procedure.";

// The cancel question of those windows, owned by owner; true for Yes.
bool ConfirmCancelBeforeLanguage(HWND owner);

}  // namespace corvalis
