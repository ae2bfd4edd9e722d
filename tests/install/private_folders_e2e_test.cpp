// Elevated runs do their work in the temporary folder inside a folder that only
// administrators and the system may change: the installer's work folder and the
// uninstaller's temporary copy, each read back while the program uses it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <shlobj.h>

#include "common/folder_tree.h"
#include "common/private_folder.h"
#include "common/uninstall_data.h"
#include "common/special_folders.h"
#include "installer/wizard/wizard_rules.h"
#include "tests/support/installer_run.h"
#include "tests/support/test_support.h"
#include "tools/winrobot/winrobot.h"

namespace {

using namespace corvalis;
using namespace corvalis::testing;
using namespace installer_e2e;

const char kAdministrators[] = "S-1-5-32-544";
const char kSystem[] = "S-1-5-18";

// Owned by Administrators, nothing inherited from above, and full access for exactly the
// two; what is made inside inherits both. Wine keeps only what the Unix mode bits hold: no
// access for others, where a folder made without the descriptor grants Everyone reading.
void ExpectPrivate(const std::string& folder, const std::string& inside) {
  SCOPED_TRACE(folder);
  const SecurityFields security = ReadSecurity(folder);
  ASSERT_TRUE(security.ok);
  const std::string everyone = "S-1-1-0";
  if (UnderWine()) {
    const std::string plain = TemporaryFolder() + UniqueName("plain");
    ASSERT_TRUE(CreateDirectoryA(plain.c_str(), nullptr));
    const SecurityFields reference = ReadSecurity(plain);
    RemoveDirectoryA(plain.c_str());
    auto grantsEveryone = [&](const SecurityFields& fields) {
      for (const std::string& ace : fields.aces) {
        if (ace.rfind(everyone + " ", 0) == 0) return true;
      }
      return false;
    };
    EXPECT_TRUE(grantsEveryone(reference)) << "the reference folder shows nothing to compare with";
    EXPECT_FALSE(grantsEveryone(security));
    return;
  }
  EXPECT_EQ(security.owner, kAdministrators);
  EXPECT_TRUE(security.protectedDacl);
  const std::string full = " 03 001f01ff";  // object and container inherit; all file access
  EXPECT_EQ(security.aces, (std::vector<std::string>{kAdministrators + full, kSystem + full}));
  const SecurityFields inner = ReadSecurity(inside);
  ASSERT_TRUE(inner.ok) << inside;
  for (const std::string& ace : inner.aces) {
    EXPECT_TRUE(ace.rfind(kAdministrators, 0) == 0 || ace.rfind(kSystem, 0) == 0) << inside << ": " << ace;
  }
  EXPECT_FALSE(inner.aces.empty()) << inside;
}

TEST(PrivateFolders, TheInstallersWorkFolder) {
  InstallerRun run;
  ASSERT_TRUE(run.Start("wiz_bare"));
  ASSERT_NE(run.WaitForWizard(), nullptr);
  const std::string work = run.WorkFolder();
  const std::string outer = OutermostFolder(work);
  ASSERT_NE(outer, work) << "an elevated run works inside a private folder";
  EXPECT_EQ(outer.rfind(TemporaryFolder() + kInstallerPrivatePrefix, 0), 0u) << outer;
  ExpectPrivate(outer, work);
}

TEST(PrivateFolders, TheUninstallersTemporaryCopy) {
  const std::string app = ShellFolder(CSIDL_PROGRAM_FILES) + "Corvalis Deep\\";
  {
    InstallerRun run;
    ASSERT_TRUE(run.Start("inst_deep", "", "/VERYSILENT"));
    ASSERT_TRUE(run.WaitEnd(kStartMs, 0));
  }
  // Another run's copy that a killed test left must not pass for this one's.
  const std::vector<std::string> before = ListFolder(TemporaryFolder() + kUninstallerPrivatePrefix + "*", true);
  winrobot::ProcessGuard stage1;
  ASSERT_TRUE(winrobot::StartProcess("\"" + app + "Uninst0.exe\"", &stage1.process));
  HWND confirm = winrobot::WaitForMessageBox(0, "Please confirm", kStartMs);
  ASSERT_NE(confirm, nullptr) << winrobot::LastError();
  // Stage 2 runs from its copy while it asks.
  DWORD pid = 0;
  GetWindowThreadProcessId(confirm, &pid);
  std::string copyFolder;
  for (const std::string& name : ListFolder(TemporaryFolder() + kUninstallerPrivatePrefix + "*", true)) {
    const std::string folder = TemporaryFolder() + name + "\\";
    if (std::find(before.begin(), before.end(), name) == before.end() && !ListFolder(folder + "*.exe", false).empty()) {
      copyFolder = folder;
    }
  }
  ASSERT_FALSE(copyFolder.empty()) << "no private folder with the copy";
  ExpectPrivate(copyFolder, copyFolder + ListFolder(copyFolder + "*.exe", false).front());
  ASSERT_TRUE(winrobot::AnswerMessageBox(confirm, "Yes"));
  HWND done = winrobot::WaitForMessageBox(0, "Success", kStartMs);
  ASSERT_NE(done, nullptr);
  ASSERT_TRUE(winrobot::AnswerMessageBox(done, "OK"));
  for (int waited = 0; waited < kStartMs && Exists(copyFolder); waited += 100) Sleep(100);
  EXPECT_FALSE(Exists(copyFolder)) << "the copy's folder goes with it";
  DeleteFolderTree(app);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kUninstallEntryKey + std::string("Corvalis Deep")).c_str());
  RemoveTempFiles("Corvalis Deep-*.log");
}

}  // namespace
