#include "xtra/netwire/netwire_xtra.h"
#include "xtra/netwire/netwire_net.h"

const char kNetMethodTable[] =
    "xtra NetWireXtra\n"
    "new object me\n"
    "-- Functions\n"
    "* GetLocalIP object me -- Returns all the IP's of the local pc\n"
    "* SendUDPMessage object me, String ip, integer port, String message -- Sends a string over UDP\n"
    "* SendTCPMessage object me, String ip, integer port, String message -- Sends a string over TCP\n"
    "* WaitForUDP object me, integer port -- Will wait for a UDP connection\n"
    "* WaitForTCP object me, integer port -- Will wait for a TCP connection\n"
    "* HasNext object me -- Returns true if another message exists\n"
    "* GetNext object me -- Returns the next message\n"
    "* DestroyAllThreads object me -- Stops the server, and unloads all memory.\n";

namespace {

// Instances carry nothing beyond the host's header.
XtraCode XTRA_CALL NetCreate(XtraObjectHeader*) { return kXtraOk; }
XtraCode XTRA_CALL NetDestroy(XtraObjectHeader*) { return kXtraOk; }

XtraCode XTRA_CALL NetRegister(IMoaRegister*, RegistrationCache* cache, void* xtraDictionary) {
  return RegisterShockwaveSafeTable(cache, xtraDictionary, kNetScriptClassId, kNetMethodTable);
}

XtraCode XTRA_CALL NetCall(IMoaMmXScript* self, XtraCallRecord* call) {
  return DispatchCall(kNetMethods, self, call);
}

constexpr IMoaRegisterOps kRegisterOps = {kPlainCountedBase, &NetRegister};
constexpr IMoaMmXScriptOps kScriptOps = {kPlainCountedBase, &NetCall};

XtraCode CreateRegister(XtraObjectHeader* owner, void** out) {
  return CreateInterfaceObject(owner, &kRegisterOps, out);
}

XtraCode CreateScript(XtraObjectHeader* owner, void** out) {
  return CreateInterfaceObject(owner, &kScriptOps, out);
}

constexpr XtraInterfaceEntry kRegisterInterfaces[] = {{&kIID_IMoaRegister, kNetVersion, &CreateRegister}};
constexpr XtraInterfaceEntry kScriptInterfaces[] = {{&kIID_IMoaMmXScript, kNetVersion, &CreateScript}};

constexpr XtraClassEntry kNetClasses[] = {
    {&kNetRegisterClassId, kNetVersion, sizeof(XtraObjectHeader), &NetCreate, &NetDestroy, kRegisterInterfaces, 1},
    {&kNetScriptClassId, kNetVersion, sizeof(XtraObjectHeader), &NetCreate, &NetDestroy, kScriptInterfaces, 1},
};

constexpr XtraClassTable kNetClassTable = {kNetClasses, 2};

}  // namespace

const XtraClassTable& XtraModuleClasses() { return kNetClassTable; }

// Module threads hold references on the module, so an unload by FreeLibrary finds
// none of them running and may free what they shared. At process exit the threads
// were cut off anywhere, so nothing is touched then.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID processEnding) {
  if (reason == DLL_PROCESS_ATTACH) {
    InitMessageQueue();
  } else if (reason == DLL_PROCESS_DETACH && !processEnding) {
    ReleaseTcpDestinations();
    ReleaseMessageQueue();
  }
  return TRUE;
}
