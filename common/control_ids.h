// The control identifiers of every window of the installer and the uninstaller, in one
// place: the programs and the tests that drive their windows both include this header.
#pragma once

namespace corvalis {

// Buttons that end or answer a window; the dialog manager knows these two.
constexpr int kIdOk = 1;      // IDOK
constexpr int kIdCancel = 2;  // IDCANCEL

// A static control nobody addresses (icons, fixed texts).
constexpr int kIdNone = -1;

// Language selection dialog.
constexpr int kIdLanguageList = 100;

// Preparation ("Initializing...") and export windows and the uninstaller's progress
// window: the Cancel button is kIdCancel.
constexpr int kIdProgressBar = 110;
// The uninstaller's progress window: its explanation (button and bar as above).
constexpr int kIdUninstallText = 120;

// Setup wizard. Enter and Escape reach Next and Cancel through the two ids above.
constexpr int kIdWizardNext = kIdOk;
constexpr int kIdWizardCancel = kIdCancel;
constexpr int kIdWizardPrevious = 200;
constexpr int kIdWizardFinish = 201;
constexpr int kIdWizardSeparator = 202;
constexpr int kIdWizardWebLink = 203;
// The page panels: page n (0 welcome .. 6 finish) is kIdWizardFirstPage + n.
constexpr int kIdWizardFirstPage = 210;
// Header images of pages 1 to 5: kIdWizardFirstHeader + page.
constexpr int kIdWizardFirstHeader = 220;
constexpr int kIdWelcomeBackground = 230;
constexpr int kIdWelcomeBitmap = 231;
constexpr int kIdWelcomeTitle = 232;
constexpr int kIdWelcomeText = 233;
constexpr int kIdWelcomeNotice = 234;
constexpr int kIdLicenseText = 240;
constexpr int kIdLicenseAgree = 241;
constexpr int kIdReadMeText = 245;
constexpr int kIdDestinationFrame = 250;
constexpr int kIdDestinationIcon = 251;
constexpr int kIdDestinationPath = 252;
constexpr int kIdDestinationBrowse = 253;
constexpr int kIdAvailableSpace = 254;
constexpr int kIdRequiredSpace = 255;
constexpr int kIdGroupIcon = 260;
constexpr int kIdGroupText = 261;
constexpr int kIdGroupPath = 262;
constexpr int kIdGroupFolders = 263;
constexpr int kIdNoGroup = 264;
constexpr int kIdProgressExplanation = 270;
constexpr int kIdProgressAction = 271;
constexpr int kIdInstallProgress = 272;
constexpr int kIdFinishBackground = 280;
constexpr int kIdFinishBitmap = 281;
constexpr int kIdFinishTitle = 282;
constexpr int kIdFinishText = 283;
constexpr int kIdFinishActions = 284;

}  // namespace corvalis
