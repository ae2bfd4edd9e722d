// A host may unload NetWireXtra while its listeners wait for data: the module has
// to stay in memory until the last of them has ended.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>

#include "tests/xtra/xtra_test_paths.h"
#include "tools/xtrahost/xtra_session.h"
#include "xtra/netwire/netwire_xtra.h"

namespace {

constexpr u_short kPort = 47150;
constexpr DWORD kWaitMs = 10000;

// Loads the module, makes an instance, runs one call and hands everything back.
int32_t CallOnce(int32_t selector, const std::vector<HostValue>& args = {}) {
  XtraHost host;
  XtraModule module;
  std::string error;
  EXPECT_TRUE(LoadXtraModule(DistFile("NetWireXtra.x32"), &module, &error)) << error;
  XtraInstance instance;
  EXPECT_EQ(CreateInstance(host, module, kNetScriptClassId, &instance), kXtraOk);
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
  CallOnce(kWaitForUDPSelector, {HostValueStore::Integer(kPort)});
  // The host let go of the module; the listener still holds it and still runs.
  ASSERT_TRUE(ModuleLoaded());
  // The listener binds on its own time, so the datagram goes again until it is queued.
  EXPECT_TRUE(WaitUntil([] {
    SendDatagram("while unloaded");
    return CallOnce(kHasNextSelector) == 1;
  }));

  // Stopped and woken, the listener ends and lets the module go.
  CallOnce(kDestroyAllThreadsSelector);
  SendDatagram("wake");
  EXPECT_TRUE(WaitUntil([] { return !ModuleLoaded(); }));
  WSACleanup();
}

}  // namespace
