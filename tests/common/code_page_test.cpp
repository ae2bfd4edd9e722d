// Texts follow the running system's ANSI code page (1252 in the test prefix; the Russian
// end-to-end test runs the installer under 1251).
#include <windows.h>

#include <gtest/gtest.h>

#include "common/ansi_text.h"

namespace corvalis {
namespace {

TEST(CodePage, Utf8AndCaseFollowTheSystem) {
  ASSERT_EQ(GetACP(), 1252u) << "the test prefix runs with code page 1252";
  EXPECT_EQ(Utf8ToAnsi("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC"), "Gr\xFC\xDF" "e \x80");
  // Cyrillic has no byte here, and no look-alike Latin letter stands in for it.
  EXPECT_EQ(Utf8ToAnsi("\xD0\x96\xD0\xB0"), "??");
  EXPECT_EQ(Utf8ToAnsi("a\x80" "b"), "a?b");
  EXPECT_EQ(Utf8ToAnsi(""), "");
  EXPECT_EQ(ToLowerAnsi("English \xC9\xC0\xD7\xDE\x8A\x9F"), "english \xE9\xE0\xD7\xFE\x9A\xFF");
}

}  // namespace
}  // namespace corvalis
