// What the installer tells about its run besides its windows: the log's first lines,
// and the log's default file once the program's name is known.
#pragma once

#include "installer/install_session.h"

namespace corvalis {

// Starts the log when the command line asks for one (a silent run always does), opens an
// explicitly named file at once, and writes the start: program, command line, Windows
// version, administrator or not.
void BeginRunLog(InstallSession& session, bool administrator);

// A started log without a file gets its default one: "<AppName>-Setup-<start>.log" in the
// temporary folder (the program's own file name while no script is read).
void OpenDefaultRunLog(const InstallSession& session);

}  // namespace corvalis
