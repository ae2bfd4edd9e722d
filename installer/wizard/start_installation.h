// One installation run with its front end: the progress page (none in a very silent run),
// the system operations that report to it, the Cancel that rolls the unpacking back, the
// questions about files that can't be written, and the end at "Finish". The wizard and
// the silent run each make one; every hook reaches the run through it.
#pragma once

#include <string>
#include <vector>

#include "common/exit_codes.h"
#include "installer/engine/run_installation.h"
#include "installer/engine/task_operations_win32.h"
#include "installer/install_session.h"
#include "installer/package/extract_archive.h"
#include "installer/wizard/wizard_view.h"

namespace corvalis {

class InstallationRun final : public InstallationFrontEnd {
 public:
  // view: the wizard whose progress page shows the run; null for none.
  InstallationRun(InstallSession& session, WizardView* view);
  InstallationRun(const InstallationRun&) = delete;
  InstallationRun& operator=(const InstallationRun&) = delete;

  // The progress page's work into what choices say. Ends the run when it was cancelled or
  // the unpacking failed, with the unpacking rolled back.
  Outcome Install(const Choices& choices);

  // "Finish": the work folder removed, the ticked finish actions (choices.FinishTicks), the
  // uninstaller (uninstallerImage, byte for byte) and its data, the uninstall entry. Always
  // ends the run: 0, or 3010 or 1641 when a restart is needed or was started; 1603 or 112,
  // rolled back, when the uninstaller or its data can't be written whole.
  Outcome Complete(const Choices& choices, const std::string& uninstallerImage);

  SystemTaskOperations& Operations() { return operations_; }

  // InstallationFrontEnd
  void ShowProgressPage() override;
  void SetProgress(int percent) override;
  void DisableCancel() override;
  bool PathExists(const std::string& path) override;
  Outcome UnpackProgramArchive(InstallSession& session) override;

 private:
  void ShowStatusLine(const std::string& text);
  // text (ANSI) followed by name, which is UTF-8 when utf8Name says so.
  void ShowStatusLine(const std::string& text, const std::string& name, bool utf8Name);
  // A confirmed Cancel on the progress page while the unpacking runs.
  bool CancelConfirmed();
  // What to do about a file of the archive that can't be written (extract_archive.h).
  WriteFailure OnWriteFailure(const std::string& path, unsigned long error);
  // Deletes the unpacked files and the folders the unpacking made, then ends with exitCode.
  Outcome RollBack(int exitCode);

  InstallSession& session_;
  WizardView* view_;
  SystemTaskOperations operations_;
  Outcome stop_;  // what a hook asked the unpacking to end with
};

}  // namespace corvalis
