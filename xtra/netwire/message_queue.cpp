// The module-wide queue that listener threads fill and GetNext drains. One lock
// guards its links; no socket call and no host call happens under it.
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "xtra/netwire/netwire_net.h"

namespace {

CMessageQueue messageQueue;
volatile LONG stopFlag = 0;

// With the lock held.
void AppendLocked(CQueuedMessage* message) {
  message->next = nullptr;
  message->previous = messageQueue.tail;
  if (messageQueue.tail) {
    messageQueue.tail->next = message;
  } else {
    messageQueue.head = message;
  }
  messageQueue.tail = message;
}

void RemoveLocked(CQueuedMessage* message) {
  (message->previous ? message->previous->next : messageQueue.head) = message->next;
  (message->next ? message->next->previous : messageQueue.tail) = message->previous;
  message->next = message->previous = nullptr;
}

void EmptyLocked() {
  while (CQueuedMessage* message = messageQueue.head) {
    RemoveLocked(message);
    FreeQueuedMessage(message);
  }
}

}  // namespace

void InitMessageQueue() {
  messageQueue.head = messageQueue.tail = nullptr;
  InitializeCriticalSection(&messageQueue.lock);
}

void ReleaseMessageQueue() {
  EmptyLocked();
  DeleteCriticalSection(&messageQueue.lock);
}

CQueuedMessage* NewQueuedMessage(const char* text, size_t length, const char* sender) {
  if (length > kMaxMessageChars) length = kMaxMessageChars;
  CQueuedMessage* message = static_cast<CQueuedMessage*>(std::malloc(offsetof(CQueuedMessage, text) + length + 1));
  if (!message) return nullptr;
  std::memcpy(message->text, text, length);
  message->text[length] = '\0';
  size_t senderLength = 0;
  while (sender && senderLength < sizeof message->sender - 1 && sender[senderLength]) ++senderLength;
  std::memcpy(message->sender, sender, senderLength);
  message->sender[senderLength] = '\0';
  message->next = message->previous = nullptr;
  return message;
}

void FreeQueuedMessage(CQueuedMessage* message) { std::free(message); }

bool QueueMessages(CQueuedMessage* first) {
  EnterCriticalSection(&messageQueue.lock);
  while (CQueuedMessage* message = first) {
    first = message->next;
    AppendLocked(message);
  }
  const bool stop = ListenersStopped();
  LeaveCriticalSection(&messageQueue.lock);
  return stop;
}

void EmptyMessageQueue() {
  EnterCriticalSection(&messageQueue.lock);
  EmptyLocked();
  LeaveCriticalSection(&messageQueue.lock);
}

bool MessageQueued() {
  EnterCriticalSection(&messageQueue.lock);
  const bool queued = messageQueue.head != nullptr;
  LeaveCriticalSection(&messageQueue.lock);
  return queued;
}

CQueuedMessage* TakeOldestMessage() {
  EnterCriticalSection(&messageQueue.lock);
  CQueuedMessage* message = messageQueue.head;
  if (message) RemoveLocked(message);
  LeaveCriticalSection(&messageQueue.lock);
  return message;
}

void SetListenersStopped(bool stopped) { InterlockedExchange(&stopFlag, stopped ? 1 : 0); }

bool ListenersStopped() { return InterlockedCompareExchange(&stopFlag, 0, 0) != 0; }
