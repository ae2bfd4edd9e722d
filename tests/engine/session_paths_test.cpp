// The installer's expansion reads the session and the operations' settings as they are
// at the call.
#include <gtest/gtest.h>

#include "common/operations_settings.h"
#include "common/path_variables.h"
#include "common/special_folders.h"
#include "installer/engine/session_paths.h"
#include "installer/install_session.h"

namespace corvalis {
namespace {

TEST(SessionPathsTest, ExpansionFollowsTheSession) {
  OperationsSettings vista;
  vista.OsVersionCode = kOsVistaWorkstation;
  ScopedOperationsSettings onVista(vista);
  InstallSession session;
  session.ScriptSettings.AppName = "Sample";
  EXPECT_EQ(PathVariableFolder(2, SessionPathContext(session)), "<DefaultInstallPath>\\");
  EXPECT_EQ(ExpandAll("<DefaultInstallPath>\\<ProgramName>.txt", SessionPathContext(session)),
            "<DefaultInstallPath>\\Sample.txt");

  session.InstallPath = "C:\\Program Files\\Sample\\";
  session.StartMenuGroupPath = "C:\\Menu\\Sample\\";
  const PathContext context = SessionPathContext(session);
  EXPECT_EQ(ExpandAll("<DefaultInstallPath>\\<ProgramName>.txt", context), "C:\\Program Files\\Sample\\Sample.txt");
  EXPECT_EQ(PathVariableFolder(17, context), "C:\\Menu\\Sample\\");
  EXPECT_EQ(ExpandAll("<Desktop>x", context), SpecialFolder(kCsidlDesktopDirectory) + "x");

  // NT 4 builds the system folder from the desktop's drive.
  OperationsSettings nt4;
  nt4.OsVersionCode = kOsNt4;
  ScopedOperationsSettings onNt4(nt4);
  InstallSession other;
  EXPECT_EQ(PathVariableFolder(4, SessionPathContext(other)),
            SpecialFolder(kCsidlDesktopDirectory).substr(0, 3) + "WINNT\\System32\\");
}

}  // namespace
}  // namespace corvalis
