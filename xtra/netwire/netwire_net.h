// NetWireXtra's networking behind its Lingo methods: module-wide state (the
// message queue, the stop flag, the TCP destination list) and the threads that
// serve them. Only the scripting thread calls the functions declared here, apart
// from those marked otherwise.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "xtra/netwire/message_framing.h"

// ---- Module threads

// Starts a thread that holds a reference on this module, so a host that unloads
// the module can't pull its code away under the thread. The handle isn't kept.
bool StartModuleThread(LPTHREAD_START_ROUTINE routine, void* argument);
// Drops the thread's reference and ends it (any module thread).
[[noreturn]] void EndModuleThread();

// ---- Message queue (message_queue.cpp)

// One allocation holds the record and its text, sized to the text: a fixed
// 8 KiB block for every message would let a peer's stream of one-byte messages
// take thousands of times its own size.
struct CQueuedMessage {
  CQueuedMessage* next;      // toward the newest
  CQueuedMessage* previous;  // toward the oldest
  char sender[16];           // dotted IPv4 text; empty: none
  char text[1];              // the text and its NUL, at most kMessageTextBytes
};

struct CMessageQueue {
  CQueuedMessage* head;  // oldest
  CQueuedMessage* tail;  // newest
  CRITICAL_SECTION lock;
};

void InitMessageQueue();
void ReleaseMessageQueue();  // at unload, when no module thread is left

// Any thread. Null when memory is short; the text is cut to the block.
CQueuedMessage* NewQueuedMessage(const char* text, size_t length, const char* sender);
void FreeQueuedMessage(CQueuedMessage* message);

// Any thread: appends a chain of messages linked through next (null: none) and
// answers whether listeners are asked to stop, read under the same lock.
bool QueueMessages(CQueuedMessage* first);
// Any thread: drops every queued message.
void EmptyMessageQueue();
bool MessageQueued();
// Unlinks the oldest message; the caller frees it. Null when the queue is empty.
CQueuedMessage* TakeOldestMessage();

// The stop flag of every listener.
void SetListenersStopped(bool stopped);
bool ListenersStopped();  // any thread

// ---- Listeners (listener_threads.cpp)

void StartUdpListener(int32_t port);
void StartTcpAcceptor(int32_t port);

// ---- Sending (udp_send.cpp, tcp_destinations.cpp, local_addresses.cpp)

void SendUdpMessage(const char* address, int32_t port, const char* message);
// Takes both buffers (malloc'd); never waits for resolution or connection.
void SendTcpMessage(char* address, int32_t port, char* message);
void ReleaseTcpDestinations();  // at unload, when no module thread is left

using AddressSink = void (*)(void* context, const char* dottedAddress);
// False when Winsock, the host name or its lookup fails.
bool ListLocalAddresses(AddressSink sink, void* context);
