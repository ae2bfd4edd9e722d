#include "installer/config/requirements.h"

#include <gtest/gtest.h>

namespace corvalis {
namespace {

TEST(Requirements, OsVersionAgainstSwitches) {
  ScriptSettings allowAll;
  for (int code : {5, 10}) EXPECT_EQ(OsRefusalMessageKey(code, allowAll), 4) << code;
  for (int code : {20, 30, 40, 50, 60, 65, 70, 75, 100}) {
    EXPECT_EQ(OsRefusalMessageKey(code, allowAll), 0) << code;
  }

  struct Case {
    int code;
    std::string ScriptSettings::*key;
  } cases[] = {{20, &ScriptSettings::WNT}, {30, &ScriptSettings::W98},
               {40, &ScriptSettings::WME}, {50, &ScriptSettings::W2K},
               {60, &ScriptSettings::WXP}, {65, &ScriptSettings::WV},
               {70, &ScriptSettings::WV}};
  for (const Case& c : cases) {
    ScriptSettings s;
    s.*c.key = "0";
    EXPECT_EQ(OsRefusalMessageKey(c.code, s), 5) << c.code;
    for (const char* allowed : {"", "1", "00", "no"}) {
      s.*c.key = allowed;
      EXPECT_EQ(OsRefusalMessageKey(c.code, s), 0) << c.code << " " << allowed;
    }
  }

  // Server 2003 follows WV, not WXP; the newest systems are never refused.
  ScriptSettings xpOnly;
  xpOnly.WXP = "0";
  EXPECT_EQ(OsRefusalMessageKey(65, xpOnly), 0);
  ScriptSettings forbidAll;
  forbidAll.W98 = forbidAll.WME = forbidAll.WNT = forbidAll.W2K = forbidAll.WXP =
      forbidAll.WV = "0";
  EXPECT_EQ(OsRefusalMessageKey(75, forbidAll), 0);
  EXPECT_EQ(OsRefusalMessageKey(100, forbidAll), 0);
  EXPECT_EQ(OsRefusalMessageKey(10, forbidAll), 4);
}

TEST(Requirements, FrameworkVersions) {
  EXPECT_EQ(RequiredFrameworkVersion("1"), "1.0");
  EXPECT_EQ(RequiredFrameworkVersion("2"), "1.1");
  EXPECT_EQ(RequiredFrameworkVersion("3"), "2.0");
  EXPECT_EQ(RequiredFrameworkVersion("4"), "3.0");
  EXPECT_EQ(RequiredFrameworkVersion("5"), "3.5");
  for (const char* none : {"", "0", "6", "03", "$3", "3.0"}) {
    EXPECT_EQ(RequiredFrameworkVersion(none), "") << none;
  }
  EXPECT_EQ(FrameworkMissingMessage("This program requires the .NET Framework", "2.0"),
            "This program requires the .NET Framework 2.0.");
}

TEST(Requirements, FrameworkFolderNames) {
  EXPECT_TRUE(FrameworkFolderMatches("v2.0.50727", "2.0"));
  EXPECT_TRUE(FrameworkFolderMatches("v3.5", "3.5"));
  EXPECT_TRUE(FrameworkFolderMatches("v 1.", "1."));  // trimmed after taking three
  EXPECT_FALSE(FrameworkFolderMatches("v1.1.4322", "2.0"));
  EXPECT_FALSE(FrameworkFolderMatches("v2", "2.0"));
  EXPECT_FALSE(FrameworkFolderMatches("v", "2.0"));
  EXPECT_FALSE(FrameworkFolderMatches("", "2.0"));
  EXPECT_TRUE(FrameworkFolderMatches("x2.0", "2.0"));  // the first character is never looked at
}

TEST(Requirements, DependencyAddress) {
  EXPECT_EQ(DependencyAddressToOpen(""), "");
  EXPECT_EQ(DependencyAddressToOpen("http://"), "");
  EXPECT_EQ(DependencyAddressToOpen("HTTP://"), "");
  EXPECT_EQ(DependencyAddressToOpen("example.com/dotnet"), "http://example.com/dotnet");
  EXPECT_EQ(DependencyAddressToOpen("HTTP://Example.com/x"), "HTTP://Example.com/x");
  EXPECT_EQ(DependencyAddressToOpen("http://example.com"), "http://example.com");
  EXPECT_EQ(DependencyAddressToOpen("https://example.com"), "https://example.com");
  EXPECT_EQ(DependencyAddressToOpen("http:/x"), "http://http:/x");
}

}  // namespace
}  // namespace corvalis
