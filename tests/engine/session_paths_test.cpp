// The installer's expansion reads the session as it is at the call.
#include <gtest/gtest.h>

#include "installer/engine/path_variables.h"
#include "installer/engine/session_paths.h"
#include "installer/engine/special_folders.h"
#include "installer/install_session.h"

namespace corvalis {
namespace {

TEST(SessionPathsTest, ExpansionFollowsTheSession) {
  InstallSession& session = Session();
  session.OsVersionCode = 70;
  session.ScriptSettings.AppName = "Sample";
  session.InstallPath.clear();
  EXPECT_EQ(PathVariableFolder(2), "<DefaultInstallPath>\\");
  EXPECT_EQ(ExpandAll("<DefaultInstallPath>\\<ProgramName>.txt"), "<DefaultInstallPath>\\Sample.txt");

  session.InstallPath = "C:\\Program Files\\Sample\\";
  session.StartMenuGroupPath = "C:\\Menu\\Sample\\";
  EXPECT_EQ(ExpandAll("<DefaultInstallPath>\\<ProgramName>.txt"), "C:\\Program Files\\Sample\\Sample.txt");
  EXPECT_EQ(PathVariableFolder(17), "C:\\Menu\\Sample\\");
  EXPECT_EQ(ExpandAll("<Desktop>x"), SpecialFolder(kCsidlDesktopDirectory) + "x");

  // NT 4 builds the system folder from the desktop's drive.
  session.OsVersionCode = 20;
  EXPECT_EQ(PathVariableFolder(4), SpecialFolder(kCsidlDesktopDirectory).substr(0, 3) + "WINNT\\System32\\");
}

}  // namespace
}  // namespace corvalis
