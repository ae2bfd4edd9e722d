// Every message box of both programs: shown in an interactive run, written to the log in
// a silent one (common/run_mode.h), where nobody could answer it.
#pragma once

#include <windows.h>

#include <string>

namespace corvalis {

// The box's answer, or silentAnswer in a silent run. The log gets the text either way.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& title, UINT type,
                   int silentAnswer = IDOK);

// The system's own sentence for an error code ("There is not enough space on the disk."),
// without the line break it ends in; "error <code>" when it has none.
std::string SystemErrorText(unsigned long error);

}  // namespace corvalis
