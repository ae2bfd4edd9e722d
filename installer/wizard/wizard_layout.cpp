#include "installer/wizard/wizard_layout.h"

#include "common/control_ids.h"

namespace corvalis {

namespace {

using K = ControlKind;
constexpr int kOut = kOutsidePages;

const ControlPlace kControls[] = {
    // In reading order, which is the order Tab goes through them (after the page's own).
    {kOut, kIdWizardSeparator, K::Picture, kNoText, 0, 310, 495, 2},
    {kOut, kIdWizardWebLink, K::Link, kNoText, 9, 327, 0, 20},
    {kOut, kIdWizardPrevious, K::PushButton, kTextPreviousButton, 238, 323, 76, 22},
    {kOut, kIdWizardNext, K::DefaultButton, kTextNextButton, 314, 323, 76, 22},
    {kOut, kIdWizardFinish, K::DefaultButton, kTextFinishButton, 403, 323, 76, 22},
    {kOut, kIdWizardCancel, K::PushButton, kTextCancelButton, 403, 323, 76, 22},

    {0, kIdWelcomeBackground, K::Picture, kNoText, 0, 0, kWhiteBackgroundWidth, kPageHeight},
    {0, kIdWelcomeBitmap, K::Picture, kNoText, 0, 0, kWizardBitmapWidth, kWizardBitmapHeight},
    {0, kIdWelcomeTitle, K::WhiteLabel, kTextWelcomeTitle, 162, 26, 322, 89, 0},
    {0, kIdWelcomeText, K::WhiteLabel, kTextWelcomeText, 161, 150, 324, 60},
    {0, kIdWelcomeNotice, K::WhiteLabel, kTextWelcomeNotice, 161, 231, 325, 73, 1},

    {1, kIdWizardFirstHeader + 1, K::Picture, kNoText, 0, 0, kHeaderWidth, kHeaderHeight},
    {1, kIdLicenseText, K::TextBox, kNoText, 16, 76, 456, 200},
    {1, kIdLicenseAgree, K::CheckBox, kTextLicenseAgree, 15, 285, 456, 15},

    {2, kIdWizardFirstHeader + 2, K::Picture, kNoText, 0, 0, kHeaderWidth, kHeaderHeight},
    {2, kIdReadMeText, K::TextBox, kNoText, 16, 76, 456, 215},

    {3, kIdWizardFirstHeader + 3, K::Picture, kNoText, 0, 0, kHeaderWidth, kHeaderHeight},
    {3, kIdDestinationFrame, K::Frame, kTextDestinationFrame, 12, 71, 468, 60},
    {3, kIdDestinationIcon, K::IconPicture, kNoText, 32, 91, 32, 32},
    {3, kIdDestinationPath, K::PathField, kNoText, 82, 96, 317, 21},
    {3, kIdDestinationBrowse, K::PushButton, kTextBrowseButton, 405, 95, 68, 22},
    {3, kIdAvailableSpace, K::Label, kNoText, 14, 145, 466, 16},
    {3, kIdRequiredSpace, K::Label, kNoText, 14, 169, 466, 15},

    {4, kIdWizardFirstHeader + 4, K::Picture, kNoText, 0, 0, kHeaderWidth, kHeaderHeight},
    {4, kIdGroupIcon, K::IconPicture, kNoText, 30, 80, 32, 32},
    {4, kIdGroupText, K::Label, kTextStartMenuText, 75, 80, 385, 60},
    {4, kIdGroupPath, K::ReadOnlyField, kNoText, 30, 146, 430, 20},
    {4, kIdGroupFolders, K::FolderList, kNoText, 30, 175, 430, 80},
    {4, kIdNoGroup, K::CheckBox, kTextNoGroup, 30, 270, 425, 15},

    {5, kIdWizardFirstHeader + 5, K::Picture, kNoText, 0, 0, kHeaderWidth, kHeaderHeight},
    {5, kIdProgressExplanation, K::Label, kTextProgressExplanation, 15, 70, 452, 44},
    {5, kIdProgressAction, K::Label, kTextCurrentAction, 15, 115, 459, 30},
    {5, kIdInstallProgress, K::ProgressBar, kNoText, 15, 150, 460, 20},

    {6, kIdFinishBackground, K::Picture, kNoText, 0, 0, kWhiteBackgroundWidth, kPageHeight},
    {6, kIdFinishBitmap, K::Picture, kNoText, 0, 0, kWizardBitmapWidth, kWizardBitmapHeight},
    {6, kIdFinishTitle, K::WhiteLabel, kTextFinishTitle, 161, 26, 322, 73, 0},
    {6, kIdFinishText, K::WhiteLabel, kTextFinishText, 161, 255, 322, 49},
    {6, kIdFinishActions, K::Checklist, kNoText, 161, 80, 322, 155},
};

}  // namespace

const ControlPlace* WizardControls(std::size_t* count) {
  *count = sizeof kControls / sizeof kControls[0];
  return kControls;
}

}  // namespace corvalis
