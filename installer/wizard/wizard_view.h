// The wizard as its parts reach it: the session it works on, its window and pages, and
// the pictures and fonts made for them. BuildWizard makes the one view of the process;
// every part of the wizard gets it passed, and reaches the session through it.
#pragma once

#include <windows.h>

#include <string>

#include "common/exit_codes.h"
#include "installer/install_session.h"
#include "installer/wizard/wizard_layout.h"
#include "installer/wizard/wizard_rules.h"

namespace corvalis {

// The uninstaller program's bytes, for "Finish" to write beside the installation.
using UninstallerImageFn = std::string (*)(const InstallSession& session);

class InstallationRun;

struct WizardView {
  explicit WizardView(InstallSession& s) : session(s) {}
  WizardView(const WizardView&) = delete;
  WizardView& operator=(const WizardView&) = delete;

  InstallSession& session;
  UninstallerImageFn uninstallerImage = nullptr;

  HWND window = nullptr;
  HWND pages[kWizardPageCount] = {};
  HBITMAP wizardBitmap = nullptr;
  HBITMAP headers[kHeaderCount] = {};
  HBITMAP white = nullptr;
  HFONT linkFont = nullptr;
  bool linkHovered = false;
  std::string programsFolder;  // the Start-menu page's list, ending in "\"
  // A Cancel click the window procedure saw while long work held the window's thread.
  bool cancelNotified = false;
  // The run the progress page starts and "Finish" completes (installer/wizard/start_installation.h).
  InstallationRun* run = nullptr;
  // Set by the click that ends the wizard; the event loop then returns its exit code.
  Outcome ended;

  // A control of the window or of any page by identifier (common/control_ids.h).
  HWND Control(int id) const;
};

// The wizard's question before it ends the installer; true for Yes.
bool ConfirmCancel(const WizardView& view);

}  // namespace corvalis
