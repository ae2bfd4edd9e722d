// Language files and the texts taken from them, without touching the system.
#pragma once

#include <string>
#include <vector>

#include "common/ini_file.h"
#include "installer/install_session.h"

namespace corvalis {

// The installer's texts by name: each is "Key" + its number in the language file's
// "LocalizationStub" group, and its index in StubTexts.
enum StubText : int {
  kTextErrorTitle = 0,
  kTextStatisticsUnreadable = 1,
  kTextNoFreeSpace = 2,
  kTextScriptUnreadable = 3,
  kTextUnsupportedSystem = 4,
  kTextSystemExcluded = 5,
  kTextFrameworkMissing = 6,  // followed by " <version>."
  kTextReadMeNoMemory = 7,
  kTextReadMeUnreadable = 8,
  kTextLicenseNoMemory = 9,
  kTextLicenseUnreadable = 10,
  kTextWizardBitmapUnreadable = 11,
  kTextHeaderBitmapUnreadable = 12,
  kTextLicenseHeader = 13,  // the headers of pages 1 to 5: title, then subtitle
  kTextLicenseSubtitle = 14,
  kTextReadMeHeader = 15,
  kTextReadMeSubtitle = 16,
  kTextDestinationHeader = 17,
  kTextDestinationSubtitle = 18,
  kTextStartMenuHeader = 19,
  kTextStartMenuSubtitle = 20,
  kTextProgressHeader = 21,
  kTextProgressSubtitle = 22,
  kTextCancelButton = 24,
  kTextNextButton = 25,
  kTextPreviousButton = 26,
  kTextFinishButton = 27,
  kTextWelcomeTitle = 28,
  kTextWelcomeNotice = 29,
  kTextWelcomeText = 30,
  kTextLicenseAgree = 31,
  kTextDestinationFrame = 32,
  kTextBrowseButton = 33,
  kTextAvailableSpace = 34,
  kTextRequiredSpace = 35,
  kTextStartMenuText = 36,
  kTextNoGroup = 37,
  kTextProgressExplanation = 38,
  kTextCurrentAction = 39,
  kTextFinishTitle = 40,
  kTextFinishText = 41,
  kTextInThe = 42,
  kTextOnThe = 43,
  kTextFirstLocation = 44,  // the 18 shortcut locations follow in location-code order
  kTextCreateShortcutItem = 62,
  kTextCreateInternetLinkItem = 63,
  kTextRunItem = 64,
  kTextConfirmTitle = 65,
  kTextConfirmCancel = 66,
  kTextWarningTitle = 67,
  kTextChoosePath = 68,
  kTextBrowseTitle = 69,
  kTextRunningStatus = 71,  // the installation tasks' status lines, in the executor's order
  kTextRegAddValueStatus = 72,
  kTextRegAddKeyStatus = 73,
  kTextRegDelValueStatus = 74,
  kTextRegDelKeyStatus = 75,
  kTextNormalLinkStatus = 76,
  kTextInternetLinkStatus = 77,
  kTextDeleteFileStatus = 78,
  kTextMoveFileStatus = 79,
  kTextCopyFileStatus = 80,
  kTextCreateFolderStatus = 81,
  kTextDeleteFolderStatus = 82,
  kTextAssociateStatus = 83,
  kTextDisassociateStatus = 84,
  kTextStartServiceStatus = 85,
  kTextInstallServiceStatus = 86,
  kTextStopServiceStatus = 87,
  kTextRemoveServiceStatus = 88,
  kTextRegisterServerStatus = 89,
  kTextUnregisterServerStatus = 90,
  kTextDownloadStatus = 91,
  kTextUnpackingStatus = 92,
  kTextRestartName = 93,
  kTextRestartItem = 94,
  kTextForTarget = 96,
};

using UninstallTextList = std::vector<std::pair<std::string, std::string>>;

// "LocalizationStub" Key0..Key96 (missing keys empty) and every key of
// "LocalizationUninstall" in file order.
void ReadLanguageTexts(const IniDocument& language, StubTextTable* stubTexts,
                       UninstallTextList* uninstallTexts);

// Every "$APPNAME$", then every "$APPVERSION$", in any letter case.
std::string ExpandAppTexts(const std::string& text, const std::string& appName,
                           const std::string& version);

// The only texts that carry the placeholders: the licence and destination subtitles and
// the welcome and finish titles.
void ExpandStubPlaceholders(StubTextTable* stubTexts, const ScriptSettings& settings);

// The item the dialog selects first: the last entry named exactly "english" in lower
// case, else the first; -1 for an empty list.
int PreselectedLanguageIndex(const std::vector<LanguageEntry>& languages);

// Path of the first entry whose name matches the selected text, both lower-cased and
// trimmed of spaces; empty when none does.
std::string FindLanguagePath(const std::vector<LanguageEntry>& languages,
                             const std::string& selectedText);

// /LANG's language, as deployment tools name it: by its display name ("Deutsch"), by its
// English name as the file names it ("German" for "German@utf-8.ini"), or by its ISO 639-1
// code ("de"); any letter case. Empty when none matches.
std::string FindLanguageByName(const std::vector<LanguageEntry>& languages, const std::string& wanted);

}  // namespace corvalis
