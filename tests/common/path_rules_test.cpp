// Which folder trees may be deleted whole: the installer's DELETEFOLDER and the
// uninstaller's install folder follow one rule.
#include <gtest/gtest.h>

#include "common/ansi_text.h"

namespace corvalis {
namespace {

TEST(PathRules, FolderTreesThatMayBeDeleted) {
  const struct {
    const char* path;
    bool removable;
  } cases[] = {
      {"C:\\Program Files\\Sample\\", true}, {"d:\\x", true}, {"\\\\server\\share\\app\\", true},
      {"C:/Program Files/Sample", true},
      {"", false}, {"   ", false}, {"\\", false}, {"/", false}, {"\\\\\\\\", false}, {".", false},
      {"App\\", false}, {"\\App\\", false}, {"C:\\", false}, {"C:", false}, {"C:App\\", false}, {"C:\\\\", false},
      {"C:\\App\\..\\", false}, {"C:\\.\\", false}, {"\\\\server\\share", false}, {"\\\\server\\share\\", false},
      {"C:\\a\\\\b\\", false},
      // Roots and climbs in the spellings the system reads as such.
      {"\\\\?\\UNC\\server\\share\\", false}, {"\\\\.\\UNC\\server\\share", false},
      {"\\\\.\\UNC\\server\\", false}, {"\\\\?\\GLOBALROOT\\Device\\HarddiskVolume1\\", false},
      {"\\\\?\\C:\\App\\", false}, {"\\\\?\\Volume{0123}\\App\\", false}, {"//?/C:/App/", false},
      {"\\\\ \\share\\x", false}, {"C:\\App\\...\\", false}, {"C:\\App\\. .\\", false},
      {"C:\\App\\x:y\\", false}, {"C:\\App\\*\\", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsRemovableFolderTree(c.path), c.removable) << "\"" << c.path << "\"";
  // The delete calls stop at a NUL: "C:\x\.." is the drive's root to them.
  EXPECT_FALSE(IsRemovableFolderTree(std::string("C:\\x\\..\0", 7)));
  EXPECT_FALSE(IsRemovableFolderTree(std::string("C:\\x\0\\y", 7)));
  // Where a full path is required, a namespaced one is refused.
  EXPECT_FALSE(IsFullPath("\\\\?\\C:\\App"));
  EXPECT_FALSE(IsFullPath("\\\\.\\C:\\App"));
  EXPECT_TRUE(IsFullPath("\\\\server\\share"));
}

}  // namespace
}  // namespace corvalis
