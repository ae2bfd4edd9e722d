// Messages per second into NetWireXtra (a listener, then GetNext through the host's
// Call) against a plain Winsock receive loop, for 100-byte messages on loopback.
//   netwire_bench.exe <NetWireXtra.x32> [messages]
// The UDP sender keeps at most kWindow messages ahead of the receiver, so the figure
// is throughput rather than the socket buffer's losses; the TCP sender writes
// kBatch messages per send, since under Wine every call is costly and the sender
// would set the pace otherwise.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tools/xtrahost/xtra_session.h"
#include "xtra/netwire/netwire_xtra.h"

namespace {

constexpr int kMessageBytes = 100;  // 99 characters and the NUL
constexpr LONG kWindow = 64;
constexpr int kBatch = 80;
constexpr DWORD kIdleGiveUpMs = 3000;
constexpr u_short kPortXtraUdp = 47170, kPortPlainUdp = 47171, kPortXtraTcp = 47172, kPortPlainTcp = 47173;

volatile LONG received = 0;

struct SendJob {
  bool tcp;
  u_short port;
  int count;
};

double Seconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return double(now.QuadPart) / double(frequency.QuadPart);
}

sockaddr_in Loopback(u_short port) {
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_port = htons(port);
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return to;
}

DWORD WINAPI Sender(void* argument) {
  const SendJob job = *static_cast<SendJob*>(argument);
  static char batch[kBatch * kMessageBytes];
  std::memset(batch, 'm', sizeof batch);
  for (int i = 1; i <= kBatch; ++i) batch[i * kMessageBytes - 1] = '\0';
  const char* message = batch;
  sockaddr_in to = Loopback(job.port);
  SOCKET s = socket(AF_INET, job.tcp ? SOCK_STREAM : SOCK_DGRAM, 0);
  if (job.tcp) {
    while (connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
      closesocket(s);
      Sleep(10);
      s = socket(AF_INET, SOCK_STREAM, 0);
    }
  }
  for (int i = 0; i < job.count;) {
    if (job.tcp) {
      const int messages = job.count - i < kBatch ? job.count - i : kBatch;
      send(s, message, messages * kMessageBytes, 0);
      i += messages;
    } else {
      while (i - InterlockedCompareExchange(&received, 0, 0) > kWindow) SwitchToThread();
      sendto(s, message, kMessageBytes, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
      ++i;
    }
  }
  Sleep(kIdleGiveUpMs + 1000);  // keep a TCP peer open until the receiver is done
  closesocket(s);
  return 0;
}

HANDLE StartSender(SendJob* job) {
  InterlockedExchange(&received, 0);
  return CreateThread(nullptr, 0, &Sender, job, 0, nullptr);
}

struct Figure {
  int messages;
  double seconds;
};

Figure ThroughXtra(XtraHost& host, IMoaMmXScript* script, bool tcp, u_short port, int count) {
  HostValue result;
  CallSelector(script, tcp ? kWaitForTCPSelector : kWaitForUDPSelector, {HostValueStore::Integer(port)}, &result);
  Sleep(300);  // the listener binds on its own thread
  SendJob job = {tcp, port, count};
  const double start = Seconds();
  HANDLE sender = StartSender(&job);
  double last = start;
  while (received < count && Seconds() - last < kIdleGiveUpMs / 1000.0) {
    host.Values().Clear();
    result = HostValueStore::Void();
    CallSelector(script, kGetNextSelector, {}, &result);
    if (HostValueStore::KindOf(result) == ValueKind::List) {
      InterlockedIncrement(&received);
      last = Seconds();
    } else {
      Sleep(1);  // an empty queue: poll again soon, as a movie does once per frame
    }
  }
  WaitForSingleObject(sender, INFINITE);
  CloseHandle(sender);
  return {int(received), last - start};
}

Figure PlainUdp(u_short port, int count) {
  SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  sockaddr_in local = Loopback(port);
  bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local);
  DWORD timeoutMs = kIdleGiveUpMs;
  setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<char*>(&timeoutMs), sizeof timeoutMs);
  SendJob job = {false, port, count};
  const double start = Seconds();
  HANDLE sender = StartSender(&job);
  double last = start;
  char buffer[8192];
  while (received < count && recv(s, buffer, sizeof buffer, 0) > 0) {
    InterlockedIncrement(&received);
    last = Seconds();
  }
  WaitForSingleObject(sender, INFINITE);
  CloseHandle(sender);
  closesocket(s);
  return {int(received), last - start};
}

Figure PlainTcp(u_short port, int count) {
  SOCKET listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in local = Loopback(port);
  bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof local);
  listen(listener, 5);
  SendJob job = {true, port, count};
  const double start = Seconds();
  HANDLE sender = StartSender(&job);
  SOCKET connection = accept(listener, nullptr, nullptr);
  double last = start;
  char buffer[8192];
  int got;
  while (received < count && (got = recv(connection, buffer, sizeof buffer, 0)) > 0) {
    for (int i = 0; i < got; ++i) {
      if (buffer[i] == '\0') InterlockedIncrement(&received);
    }
    last = Seconds();
  }
  WaitForSingleObject(sender, INFINITE);
  CloseHandle(sender);
  closesocket(connection);
  closesocket(listener);
  return {int(received), last - start};
}

void Report(const char* what, const Figure& figure, double baseline = 0) {
  const double rate = figure.seconds > 0 ? figure.messages / figure.seconds : 0;
  std::printf("%-44s %6d messages %8.3f s %10.0f msg/s", what, figure.messages, figure.seconds, rate);
  if (baseline > 0) std::printf("   %.2f of plain", rate / baseline);
  std::printf("\n");
}

double Rate(const Figure& figure) { return figure.seconds > 0 ? figure.messages / figure.seconds : 0; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: netwire_bench <NetWireXtra.x32> [messages]\n");
    return 1;
  }
  const int count = argc > 2 ? std::atoi(argv[2]) : 10000;
  WSADATA startup;
  WSAStartup(MAKEWORD(2, 2), &startup);
  XtraHost host;
  XtraModule module;
  std::string error;
  XtraInstance instance;
  if (!LoadXtraModule(argv[1], &module, &error) || CreateInstance(host, module, kNetScriptClassId, &instance) != kXtraOk) {
    std::fprintf(stderr, "netwire_bench: %s\n", error.c_str());
    return 1;
  }
  const Figure plainUdp = PlainUdp(kPortPlainUdp, count);
  const Figure xtraUdp = ThroughXtra(host, instance.script, false, kPortXtraUdp, count);
  const Figure plainTcp = PlainTcp(kPortPlainTcp, count);
  const Figure xtraTcp = ThroughXtra(host, instance.script, true, kPortXtraTcp, count);
  Report("UDP, plain recv loop", plainUdp);
  Report("UDP, WaitForUDP + GetNext", xtraUdp, Rate(plainUdp));
  Report("TCP, plain recv loop", plainTcp);
  Report("TCP, WaitForTCP + GetNext", xtraTcp, Rate(plainTcp));
  HostValue ignored;
  CallSelector(instance.script, kDestroyAllThreadsSelector, {}, &ignored);
  ReleaseInstance(&instance);
  // The listeners still hold the module; the process ends with them.
  std::fflush(stdout);
  ExitProcess(0);
}
