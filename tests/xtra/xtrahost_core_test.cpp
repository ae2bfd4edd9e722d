// The substitute host's plain parts: Lingo calls in, values out, method tables, options.
#include <gtest/gtest.h>

#include "tools/xtrahost/host_options.h"
#include "tools/xtrahost/lingo_call.h"
#include "tools/xtrahost/method_table.h"
#include "tools/xtrahost/xtra_session.h"
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

TEST(MethodTable, HandlerLinesAreNumberedFromZeroWithTheirArgumentCounts) {
  MethodTable table = ParseMethodTable(
      "xtra Demo\n"
      "new object me\n"
      "-- Functions\n"
      "\n"
      "* First object me -- one, two\n"
      "+ Second  object xtraRef, integer n , string s\n"
      "*Third object me\n"
      "+ ChooseColor object xtraRef, * rgbColor  \n");
  EXPECT_EQ(table.xtraName, "Demo");
  ASSERT_EQ(table.methods.size(), 5u);
  EXPECT_EQ(FindSelector(table, "NEW"), 0);
  EXPECT_EQ(FindSelector(table, "first"), 1);
  EXPECT_EQ(FindSelector(table, "Second"), 2);
  EXPECT_EQ(FindSelector(table, "Third"), 3);
  EXPECT_EQ(FindSelector(table, "Fourth"), -1);
  std::vector<size_t> counts;
  for (const MethodLine& method : table.methods) counts.push_back(method.argumentCount);
  EXPECT_EQ(counts, (std::vector<size_t>{1, 1, 3, 1, 2}));
}

// A stand-in for an Xtra's Call that reads the argument slots its table line declares.
std::vector<ValueKind> seenKinds;
XtraCode XTRA_CALL RecordArguments(IMoaMmXScript*, XtraCallRecord* call) {
  seenKinds.clear();
  for (uint32_t i = 0; i < 4; ++i) seenKinds.push_back(HostValueStore::KindOf(call->args[i]));
  return kXtraOk;
}

TEST(LingoCall, MissingArgumentsReachTheXtraAsVoid) {
  const MethodTable table = ParseMethodTable("xtra Demo\n+ Three object xtraRef, integer a, string b, integer c\n");
  const IMoaMmXScriptOps ops = {{nullptr, nullptr, nullptr}, &RecordArguments};
  IMoaMmXScript script = {&ops};
  XtraHost host;
  std::string output;
  ASSERT_TRUE(RunLingoLine(host, &script, table, "Three(5)", &output)) << output;
  EXPECT_EQ(seenKinds, (std::vector<ValueKind>{ValueKind::Object, ValueKind::Integer, ValueKind::Void, ValueKind::Void}));
  ASSERT_TRUE(RunLingoLine(host, &script, table, "Three(1, \"b\", 3, 4)", &output)) << output;
  EXPECT_EQ(seenKinds, (std::vector<ValueKind>{ValueKind::Object, ValueKind::Integer, ValueKind::String, ValueKind::Integer}));
}

TEST(LingoCall, SleepLinesAreTheHostsOwn) {
  int32_t ms = -5;
  std::string error;
  EXPECT_TRUE(ParseSleepLine(" Sleep(250) ", &ms, &error));
  EXPECT_EQ(ms, 250);
  EXPECT_TRUE(error.empty());
  for (const char* bad : {"sleep()", "sleep(-1)", "sleep(\"5\")", "sleep(1, 2)", "sleep(600001)"}) {
    EXPECT_TRUE(ParseSleepLine(bad, &ms, &error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
  for (const char* other : {"Sleeper(5)", "GetOSName()", "sleep(", ""}) {
    EXPECT_FALSE(ParseSleepLine(other, &ms, &error)) << other;
  }
}

TEST(HostOptions, ParsesVersionServicesFaultsFileAndCalls) {
  HostOptions options;
  std::string error;
  ASSERT_TRUE(ParseHostOptions({"--host-version", "10.1", "--without", "player", "--fail", "put", "--without",
                                "stage", "x.x32", "GetOSName()", "--not-an-option"},
                               &options, &error));
  EXPECT_EQ(options.hostVersion, "10.1");
  EXPECT_EQ(options.without, (std::vector<std::string>{"player", "stage"}));
  EXPECT_EQ(options.faults, (std::vector<std::string>{"put"}));
  EXPECT_EQ(options.xtraPath, "x.x32");
  EXPECT_EQ(options.calls, (std::vector<std::string>{"GetOSName()", "--not-an-option"}));
  HostOptions other;
  EXPECT_FALSE(ParseHostOptions({"--host-version"}, &other, &error));
  EXPECT_FALSE(ParseHostOptions({"--fail"}, &other, &error));
  EXPECT_FALSE(ParseHostOptions({"--bogus", "x.x32"}, &other, &error));
  EXPECT_FALSE(ParseHostOptions({}, &other, &error));
  XtraHost host;
  EXPECT_TRUE(host.SetFault("window"));
  EXPECT_TRUE(host.failNativeWindow);
  EXPECT_FALSE(host.SetFault("everything"));
  EXPECT_TRUE(host.SetUnavailable("movie"));
}

// The one rule that the host and nelXtra both apply to the host's version text.
TEST(HostEncoding, TwoDigitMajorsWithoutAFinalZeroSpeakUtf8) {
  for (const char* version : {"11.5", "12.0", "21.0", "11.0.0r1"}) EXPECT_TRUE(HostVersionUsesUtf8(version)) << version;
  for (const char* version : {"10.1", "9.0", "8.5", "20.0", "100.0", "11", "1", ""}) {
    EXPECT_FALSE(HostVersionUsesUtf8(version)) << version;
  }
}

}  // namespace
