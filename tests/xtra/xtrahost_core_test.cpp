// The substitute host's plain parts: Lingo calls in, values out, method tables, options.
#include <gtest/gtest.h>

#include <cstdio>

#include "tools/xtrahost/host_options.h"
#include "tools/xtrahost/lingo_call.h"
#include "tools/xtrahost/method_table.h"
#include "xtra/osutil/host_encoding.h"

namespace {

std::string RoundTrip(const std::string& line) {
  LingoCall call;
  std::string error;
  if (!ParseLingoCall(line, &call, &error)) return "error: " + error;
  HostValueStore store;
  HostValue list = store.NewList();
  for (const LingoArg& arg : call.args) store.Append(list, MakeHostValue(store, arg));
  return call.name + " " + store.Format(list);
}

TEST(LingoCall, ArgumentsComeBackInLingosNotation) {
  EXPECT_EQ(RoundTrip("GetOSName()"), "GetOSName []");
  EXPECT_EQ(RoundTrip("GetOSName"), "GetOSName []");
  EXPECT_EQ(RoundTrip("  SendUDPMessage(\"127.0.0.1\", 5000, \"hi\")  "), "SendUDPMessage [\"127.0.0.1\", 5000, \"hi\"]");
  EXPECT_EQ(RoundTrip("F(-2147483648, 2147483647, \"\", EMPTY, void)"),
            "F [-2147483648, 2147483647, \"\", \"\", <Void>]");
  EXPECT_EQ(RoundTrip("ChooseColor(RGB(255, 0,12))"), "ChooseColor [rgb(255, 0, 12)]");
  EXPECT_EQ(RoundTrip("F([1, [\"a\", []], \"b, c\"])"), "F [[1, [\"a\", []], \"b, c\"]]");
  EXPECT_EQ(RoundTrip("F(\"a/b\\c\")"), "F [\"a/b\\c\"]");
}

TEST(LingoCall, MalformedLinesAreRefused) {
  for (const char* line : {"", "()", "F(", "F(1,)", "F(1 2)", "F(\"open)", "F(2147483648)", "F(rgb(1, 2))",
                           "F(rgb(256, 0, 0))", "F(nothing)", "F() x", "F([1, 2)", "9F()"}) {
    LingoCall call;
    std::string error;
    EXPECT_FALSE(ParseLingoCall(line, &call, &error)) << line;
    EXPECT_FALSE(error.empty()) << line;
  }
  std::string deep = "F(" + std::string(100, '[') + std::string(100, ']') + ")";
  LingoCall call;
  std::string error;
  EXPECT_FALSE(ParseLingoCall(deep, &call, &error));
}

TEST(LingoCall, BlankAndCommentLines) {
  EXPECT_TRUE(IsBlankOrComment(""));
  EXPECT_TRUE(IsBlankOrComment("  \r"));
  EXPECT_TRUE(IsBlankOrComment("  -- put GetOSName()"));
  EXPECT_FALSE(IsBlankOrComment("GetOSName() -- x"));
}

TEST(HostValues, ConversionsAndFormatting) {
  HostValueStore store;
  HostValue text = store.String("Sent message to:1.2.3.4:5");
  HostValue number = HostValueStore::Integer(-7);
  std::string out = "unchanged";
  int32_t integer = 42;
  EXPECT_FALSE(store.ToInteger(text, &integer));
  EXPECT_EQ(integer, 42);
  EXPECT_TRUE(store.ToText(number, &out));
  EXPECT_EQ(out, "-7");
  EXPECT_FALSE(store.ToText(HostValueStore::Void(), &out));
  EXPECT_EQ(store.Format(text), "\"Sent message to:1.2.3.4:5\"");
  EXPECT_EQ(store.Format(HostValueStore::Void()), "<Void>");
  EXPECT_EQ(store.Format(HostValueStore::Colour(ColourRecord{9, 8, 7, 0})), "paletteIndex(9)");
  EXPECT_EQ(store.Format(HostValue{{2, 999}}), "<Invalid>");  // a text the store never made
  EXPECT_EQ(store.Format(HostValue{{77, 0}}), "<Invalid>");
  EXPECT_FALSE(store.Append(text, number));
  // A list holding itself is cut off instead of recursing forever.
  HostValue list = store.NewList();
  store.Append(list, list);
  EXPECT_NE(store.Format(list).find("<Invalid>"), std::string::npos);
}

TEST(MethodTable, HandlerLinesAreNumberedFromZero) {
  MethodTable table = ParseMethodTable(
      "xtra Demo\n"
      "new object me\n"
      "-- Functions\n"
      "\n"
      "* First object me -- one\n"
      "+ Second  object xtraRef, integer n\n"
      "*Third object me\n");
  EXPECT_EQ(table.xtraName, "Demo");
  ASSERT_EQ(table.methods.size(), 4u);
  EXPECT_EQ(FindSelector(table, "NEW"), 0);
  EXPECT_EQ(FindSelector(table, "first"), 1);
  EXPECT_EQ(FindSelector(table, "Second"), 2);
  EXPECT_EQ(FindSelector(table, "Third"), 3);
  EXPECT_EQ(FindSelector(table, "Fourth"), -1);
}

TEST(HostOptions, ParsesVersionServicesFileAndCalls) {
  HostOptions options;
  std::string error;
  ASSERT_TRUE(ParseHostOptions({"--host-version", "10.1", "--without", "player", "--without", "stage", "x.x32",
                                "GetOSName()", "--not-an-option"},
                               &options, &error));
  EXPECT_EQ(options.hostVersion, "10.1");
  EXPECT_EQ(options.without, (std::vector<std::string>{"player", "stage"}));
  EXPECT_EQ(options.xtraPath, "x.x32");
  EXPECT_EQ(options.calls, (std::vector<std::string>{"GetOSName()", "--not-an-option"}));
  HostOptions other;
  EXPECT_FALSE(ParseHostOptions({"--host-version"}, &other, &error));
  EXPECT_FALSE(ParseHostOptions({"--bogus", "x.x32"}, &other, &error));
  EXPECT_FALSE(ParseHostOptions({}, &other, &error));
}

TEST(HostOptions, EncodingFollowsTheMajorVersion) {
  EXPECT_TRUE(HostEncodingIsUtf8("11.5"));
  EXPECT_TRUE(HostEncodingIsUtf8("12.0.1"));
  EXPECT_FALSE(HostEncodingIsUtf8("10.1"));
  EXPECT_FALSE(HostEncodingIsUtf8("8.5"));
  EXPECT_FALSE(HostEncodingIsUtf8(""));
}

// nelXtra's reading of the same version text decides its own encoding.
TEST(HostOptions, NelXtraAgreesOnTheEncoding) {
  for (const char* version : {"11.5", "12.0", "11.0.0r1", "10.1", "8.5", "9", "", "1"}) {
    char buffer[64] = {};
    std::snprintf(buffer, sizeof buffer, "%s", version);
    EXPECT_EQ(HostVersionUsesUtf8(buffer), HostEncodingIsUtf8(version)) << version;
  }
}

}  // namespace
