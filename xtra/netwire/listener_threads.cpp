// The receiving threads: one per WaitForUDP, one acceptor per WaitForTCP and one
// reader per accepted connection. Each owns its socket and its buffers and
// blocks in its receive; the stop flag is seen when a blocking call returns.
#include <cstdlib>
#include <cstring>

#include "xtra/netwire/netwire_net.h"

namespace {

constexpr int kListenBacklog = 5;
constexpr int kListenRetries = 1001;
// A failing accept pauses before the next, and gives up after a run of failures,
// so a broken listening socket can't spin.
constexpr DWORD kAcceptRetryPauseMs = 100;
constexpr int kAcceptFailuresToGiveUp = 50;

struct ReaderStart {
  SOCKET connection;
  char peer[16];
};

// The messages of one read, queued under one hold of the lock.
struct ReadMessages {
  const char* peer;
  CQueuedMessage* first;
  CQueuedMessage* last;
};

void StartWinsock() {
  WSADATA startup;
  WSAStartup(MAKEWORD(2, 2), &startup);
}

// A port that an earlier listener of the process holds can't be bound; such a
// listener ends at once.
bool BindAllInterfaces(SOCKET s, int32_t port) {
  sockaddr_in local = {};
  local.sin_family = AF_INET;
  local.sin_addr.s_addr = htonl(INADDR_ANY);
  local.sin_port = htons(static_cast<u_short>(port));
  return bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
}

DWORD WINAPI UdpListenThread(void* argument) {
  const int32_t port = static_cast<int32_t>(reinterpret_cast<intptr_t>(argument));
  StartWinsock();
  SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s == INVALID_SOCKET) EndModuleThread();
  if (!BindAllInterfaces(s, port)) {
    closesocket(s);
    EndModuleThread();
  }
  if (ListenersStopped()) EndModuleThread();
  char buffer[kMessageTextBytes];
  for (;;) {
    sockaddr_in from = {};
    int fromLength = sizeof from;
    int got = recvfrom(s, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
    // An oversized datagram arrives cut to the buffer; it must not end the listener.
    if (got == SOCKET_ERROR && WSAGetLastError() == WSAEMSGSIZE) got = sizeof buffer;
    if (got == SOCKET_ERROR) break;
    const size_t length = DatagramTextLength(buffer, static_cast<size_t>(got));
    if (QueueMessages(NewQueuedMessage(buffer, length, inet_ntoa(from.sin_addr)))) {
      EmptyMessageQueue();
      break;
    }
  }
  EndModuleThread();
}

void CollectMessage(void* context, const char* text, size_t length) {
  ReadMessages* read = static_cast<ReadMessages*>(context);
  CQueuedMessage* message = NewQueuedMessage(text, length, read->peer);
  if (!message) return;
  (read->last ? read->last->next : read->first) = message;
  read->last = message;
}

DWORD WINAPI TcpReadThread(void* argument) {
  ReaderStart start = *static_cast<ReaderStart*>(argument);
  std::free(argument);
  if (!ListenersStopped()) {
    static_assert(sizeof(MessageFraming) + kMessageTextBytes < 32 * 1024, "fits the default stack");
    MessageFraming framing;
    ResetFraming(&framing);
    char buffer[kMessageTextBytes];
    for (;;) {
      const int got = recv(start.connection, buffer, sizeof buffer, 0);
      if (got <= 0) break;  // closed by the peer, or failed: an unfinished message goes with it
      ReadMessages read = {start.peer, nullptr, nullptr};
      FeedMessageBytes(&framing, buffer, static_cast<size_t>(got), &CollectMessage, &read);
      if (QueueMessages(read.first)) break;
    }
  }
  closesocket(start.connection);
  EndModuleThread();
}

void StartReader(SOCKET connection, const char* peer) {
  ReaderStart* start = static_cast<ReaderStart*>(std::malloc(sizeof(ReaderStart)));
  if (start) {
    start->connection = connection;
    std::strncpy(start->peer, peer ? peer : "", sizeof start->peer - 1);
    start->peer[sizeof start->peer - 1] = '\0';
    if (StartModuleThread(&TcpReadThread, start)) return;
    std::free(start);
  }
  closesocket(connection);
}

DWORD WINAPI TcpAcceptThread(void* argument) {
  const int32_t port = static_cast<int32_t>(reinterpret_cast<intptr_t>(argument));
  StartWinsock();
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  if (s == INVALID_SOCKET) EndModuleThread();
  if (!BindAllInterfaces(s, port)) {
    closesocket(s);
    EndModuleThread();
  }
  for (int retries = 0; listen(s, kListenBacklog) == SOCKET_ERROR; ++retries) {
    if (retries == kListenRetries || ListenersStopped()) EndModuleThread();
  }
  if (ListenersStopped()) EndModuleThread();
  int failures = 0;
  for (;;) {
    sockaddr_in peer = {};
    int peerLength = sizeof peer;
    const SOCKET connection = accept(s, reinterpret_cast<sockaddr*>(&peer), &peerLength);
    if (connection != INVALID_SOCKET) {
      failures = 0;
      StartReader(connection, inet_ntoa(peer.sin_addr));
    } else if (++failures == kAcceptFailuresToGiveUp) {
      break;
    } else {
      Sleep(kAcceptRetryPauseMs);
    }
    if (ListenersStopped()) {
      EmptyMessageQueue();
      break;
    }
  }
  EndModuleThread();
}

}  // namespace

void StartUdpListener(int32_t port) {
  StartModuleThread(&UdpListenThread, reinterpret_cast<void*>(static_cast<intptr_t>(port)));
}

void StartTcpAcceptor(int32_t port) {
  StartModuleThread(&TcpAcceptThread, reinterpret_cast<void*>(static_cast<intptr_t>(port)));
}
