// How received bytes become messages. On the wire a message is its text and one
// NUL byte. A TCP connection's bytes are cut at every NUL, whatever the reads
// were; a text that reaches kMaxMessageChars without its NUL is cut there and
// what follows starts the next message. Plain code, so it builds and is tested
// natively.
#pragma once

#include <cstddef>

// Every queued message has a text block of this size, its NUL included.
constexpr size_t kMessageTextBytes = 8192;
constexpr size_t kMaxMessageChars = kMessageTextBytes - 1;

// Gets one complete message: text[length] is its NUL.
using MessageSink = void (*)(void* context, const char* text, size_t length);

// What one connection has read of a message that hasn't ended yet.
struct MessageFraming {
  char text[kMessageTextBytes];
  size_t length;
};

inline void ResetFraming(MessageFraming* framing) { framing->length = 0; }

// Hands every message that the bytes complete to the sink, in order, and keeps
// the unfinished rest for the next call.
void FeedMessageBytes(MessageFraming* framing, const char* data, size_t size, MessageSink sink, void* context);

// The text length of one datagram: up to its first NUL, at most kMaxMessageChars,
// never past the bytes received.
size_t DatagramTextLength(const char* data, size_t size);
