// A host may unload NetWireXtra while its listeners wait for data: the module has
// to stay in memory until the last of them has ended.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>

#include "tests/xtra/xtra_test_paths.h"
#include "tools/xtrahost/xtra_session.h"

namespace {

constexpr XtraGuid kNetScriptClass = {0x81C7C73C, 0x5211, 0x40F9, {0xAF, 0x8C, 0x0A, 0x41, 0x3C, 0x57, 0x47, 0x41}};
constexpr int32_t kWaitForUDP = 4;
constexpr int32_t kHasNext = 6;
constexpr int32_t kDestroyAllThreads = 8;
constexpr u_short kPort = 47150;
constexpr DWORD kWaitMs = 10000;

// Loads the module, makes an instance, runs one call and hands everything back.
int32_t CallOnce(int32_t selector, const std::vector<HostValue>& args = {}) {
  XtraHost host;
  XtraModule module;
  std::string error;
  EXPECT_TRUE(LoadXtraModule(DistFile("NetWireXtra.x32"), &module, &error)) << error;
  XtraInstance instance;
  EXPECT_EQ(CreateInstance(host, module, kNetScriptClass, &instance), kXtraOk);
  HostValue result = HostValueStore::Integer(-99);
  CallSelector(instance.script, selector, args, &result);
  int32_t number = -99;
  host.Values().ToInteger(result, &number);
  ReleaseInstance(&instance);
  EXPECT_EQ(module.canUnloadNow(), kXtraOk);
  UnloadXtraModule(&module);
  EXPECT_TRUE(host.HeldServices().empty());
  return number;
}

void SendDatagram(const char* text) {
  SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  sockaddr_in to = {};
  to.sin_family = AF_INET;
  to.sin_port = htons(kPort);
  to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  sendto(s, text, static_cast<int>(strlen(text)) + 1, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
  closesocket(s);
}

bool ModuleLoaded() { return GetModuleHandleA("NetWireXtra.x32") != nullptr; }

bool WaitUntil(bool (*condition)()) {
  for (DWORD waited = 0; waited < kWaitMs; waited += 50) {
    if (condition()) return true;
    Sleep(50);
  }
  return condition();
}

TEST(NetWireUnload, ListenerKeepsTheModuleUntilItEnds) {
  WSADATA startup;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &startup), 0);
  CallOnce(kWaitForUDP, {HostValueStore::Integer(kPort)});
  // The host let go of the module; the listener still holds it and still runs.
  ASSERT_TRUE(ModuleLoaded());
  SendDatagram("while unloaded");
  EXPECT_TRUE(WaitUntil([] { return CallOnce(kHasNext) == 1; }));

  // Stopped and woken, the listener ends and lets the module go.
  CallOnce(kDestroyAllThreads);
  SendDatagram("wake");
  EXPECT_TRUE(WaitUntil([] { return !ModuleLoaded(); }));
  WSACleanup();
}

}  // namespace
