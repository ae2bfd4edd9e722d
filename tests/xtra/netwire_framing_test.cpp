// How a connection's bytes become messages, whatever the reads were.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "xtra/netwire/message_framing.h"

namespace {

void Collect(void* context, const char* text, size_t length) {
  EXPECT_EQ(text[length], '\0');
  static_cast<std::vector<std::string>*>(context)->emplace_back(text, length);
}

// Feeds the reads in order and returns every message completed.
std::vector<std::string> Frame(const std::vector<std::string>& reads, size_t* leftOver = nullptr) {
  MessageFraming framing;
  ResetFraming(&framing);
  std::vector<std::string> messages;
  for (const std::string& read : reads) FeedMessageBytes(&framing, read.data(), read.size(), &Collect, &messages);
  if (leftOver) *leftOver = framing.length;
  return messages;
}

std::string Nul(const std::string& text) { return text + std::string(1, '\0'); }

TEST(NetWireFraming, ReadsAreCutAtEveryNul) {
  using Messages = std::vector<std::string>;
  const std::string full(kMaxMessageChars, 'x');
  struct Case {
    const char* name;
    std::vector<std::string> reads;
    Messages expected;
    size_t leftOver;
  } cases[] = {
      {"two in one read", {Nul("one") + Nul("two")}, {"one", "two"}, 0},
      {"split across reads", {"spl", "i", Nul("t")}, {"split"}, 0},
      {"terminator alone", {"abc", Nul("")}, {"abc"}, 0},
      {"empty messages", {Nul("") + Nul("")}, {"", ""}, 0},
      {"unfinished waits", {Nul("done") + "pend"}, {"done"}, 4},
      {"longest fits", {full, Nul("")}, {full}, 0},
      {"longest in one read", {Nul(full) + Nul("b")}, {full, "b"}, 0},
      {"too long is cut", {full + "yz", Nul("")}, {full, "yz"}, 0},
      {"cut twice", {std::string(2 * kMaxMessageChars + 1, 'q')}, {std::string(kMaxMessageChars, 'q'), std::string(kMaxMessageChars, 'q')}, 1},
  };
  for (const Case& c : cases) {
    size_t leftOver = 99;
    EXPECT_EQ(Frame(c.reads, &leftOver), c.expected) << c.name;
    EXPECT_EQ(leftOver, c.leftOver) << c.name;
  }
}

TEST(NetWireFraming, ByteByByteGivesTheSameMessages) {
  const std::string stream = Nul("alpha") + Nul("") + Nul(std::string(9000, 'z')) + Nul("omega");
  std::vector<std::string> single;
  for (char c : stream) single.emplace_back(1, c);
  EXPECT_EQ(Frame(single), Frame({stream}));
  EXPECT_EQ(Frame({stream}).size(), 5u);  // the long text became two
}

TEST(NetWireFraming, DatagramTextStaysWithinTheBytesReceived) {
  const std::string big(kMessageTextBytes, 'd');
  EXPECT_EQ(DatagramTextLength("hello\0junk", 10), 5u);
  EXPECT_EQ(DatagramTextLength("abc", 3), 3u);
  EXPECT_EQ(DatagramTextLength("", 0), 0u);
  EXPECT_EQ(DatagramTextLength(big.data(), big.size()), kMaxMessageChars);
}

}  // namespace
