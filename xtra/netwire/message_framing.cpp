#include "xtra/netwire/message_framing.h"

#include <cstring>

namespace {

void Emit(MessageFraming* framing, MessageSink sink, void* context) {
  framing->text[framing->length] = '\0';
  sink(context, framing->text, framing->length);
  framing->length = 0;
}

}  // namespace

void FeedMessageBytes(MessageFraming* framing, const char* data, size_t size, MessageSink sink, void* context) {
  while (size > 0) {
    const size_t room = kMaxMessageChars - framing->length;
    // The NUL may still come right after a text that filled the room.
    const size_t scan = size < room + 1 ? size : room + 1;
    const char* nul = static_cast<const char*>(std::memchr(data, '\0', scan));
    if (nul) {
      const size_t take = static_cast<size_t>(nul - data);
      std::memcpy(framing->text + framing->length, data, take);
      framing->length += take;
      data += take + 1;
      size -= take + 1;
      Emit(framing, sink, context);
    } else if (size > room) {
      // Too long without its NUL: cut here; the next byte starts the next message.
      std::memcpy(framing->text + framing->length, data, room);
      framing->length += room;
      data += room;
      size -= room;
      Emit(framing, sink, context);
    } else {
      std::memcpy(framing->text + framing->length, data, size);
      framing->length += size;
      size = 0;
    }
  }
}

size_t DatagramTextLength(const char* data, size_t size) {
  const size_t scan = size < kMaxMessageChars ? size : kMaxMessageChars;
  const char* nul = static_cast<const char*>(std::memchr(data, '\0', scan));
  return nul ? static_cast<size_t>(nul - data) : scan;
}
