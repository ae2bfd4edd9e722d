// Where every control of the wizard sits: one row per control, in creation order.
#pragma once

#include <cstddef>

#include "installer/config/language_texts.h"

namespace corvalis {

enum class ControlKind {
  PushButton,     // Cancel, Previous, Browse
  DefaultButton,  // Next, Finish
  CheckBox,
  Label,          // static text on the button face
  WhiteLabel,     // static text on the white welcome and finish pages
  Picture,        // static bitmap, filled by the window code
  IconPicture,    // static icon, filled by the window code
  TextBox,        // read-only multi-line text with a thin border
  PathField,      // single-line edit
  ReadOnlyField,  // single-line edit, read-only and disabled
  Frame,          // group box
  FolderList,     // list box, notifying, in listing order
  ProgressBar,
  Checklist,      // list of finish actions with a checkbox per item
  Link,           // the web link: underlined, sized to its text
};

constexpr int kOutsidePages = -1;  // a control of the window itself, not of a page
constexpr int kNoText = -1;
constexpr int kDefaultFont = -1;

struct ControlPlace {
  int Page;     // 0 to 6, or kOutsidePages
  int Id;       // from common/control_ids.h
  ControlKind Kind;
  int TextKey;  // a StubText, or kNoText
  int X, Y, Width, Height;
  int Font = kDefaultFont;  // start-up font number
};

constexpr int kWizardClientWidth = 491;
constexpr int kWizardClientHeight = 358;
constexpr int kPageWidth = 491;
constexpr int kPageHeight = 310;
constexpr int kHeaderWidth = 500;
constexpr int kHeaderHeight = 60;
constexpr int kWizardBitmapWidth = 155;
constexpr int kWizardBitmapHeight = 310;
constexpr int kWhiteBackgroundWidth = 496;

// The header title and subtitle of pages 1 to 5 (index = page - 1).
constexpr int kHeaderCount = 5;
constexpr StubText kHeaderTitles[kHeaderCount] = {kTextLicenseHeader, kTextReadMeHeader, kTextDestinationHeader,
                                                  kTextStartMenuHeader, kTextProgressHeader};
constexpr StubText kHeaderSubtitles[kHeaderCount] = {kTextLicenseSubtitle, kTextReadMeSubtitle,
                                                     kTextDestinationSubtitle, kTextStartMenuSubtitle,
                                                     kTextProgressSubtitle};

const ControlPlace* WizardControls(std::size_t* count);

}  // namespace corvalis
