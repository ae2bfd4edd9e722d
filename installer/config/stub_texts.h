// The installer's 97 texts ("Key0" .. "Key96" of a language file's "LocalizationStub"
// group): their names and the table that holds them, side by side.
#pragma once

#include <array>
#include <string>

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

constexpr int kStubTextCount = 97;  // "Key0" .. "Key96"
using StubTextTable = std::array<std::string, kStubTextCount>;  // index = key number

}  // namespace corvalis
