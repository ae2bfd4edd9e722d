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
  };
  for (const auto& c : cases) EXPECT_EQ(IsRemovableFolderTree(c.path), c.removable) << "\"" << c.path << "\"";
}

}  // namespace
}  // namespace corvalis
