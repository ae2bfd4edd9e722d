#include <gtest/gtest.h>
#include <windows.h>

TEST(Wine, AnsiCodePages) {
  EXPECT_EQ(GetACP(), 1252u);
  EXPECT_EQ(GetOEMCP(), 437u);
}
