// Method handlers of "NetWireXtra", by selector; "new object me" is selector 0
// and has no handler.
#include "xtra/netwire/netwire_xtra.h"

namespace {

void GetLocalIP(IMoaMmXScript*, XtraCallRecord*) {}
void SendUDPMessage(IMoaMmXScript*, XtraCallRecord*) {}
void SendTCPMessage(IMoaMmXScript*, XtraCallRecord*) {}
void WaitForUDP(IMoaMmXScript*, XtraCallRecord*) {}
void WaitForTCP(IMoaMmXScript*, XtraCallRecord*) {}
void HasNext(IMoaMmXScript*, XtraCallRecord*) {}
void GetNext(IMoaMmXScript*, XtraCallRecord*) {}
void DestroyAllThreads(IMoaMmXScript*, XtraCallRecord*) {}

constexpr XtraMethodHandler kHandlers[] = {
    &GetLocalIP, &SendUDPMessage, &SendTCPMessage, &WaitForUDP,
    &WaitForTCP, &HasNext,        &GetNext,        &DestroyAllThreads,
};
static_assert(sizeof kHandlers / sizeof kHandlers[0] == 8, "selectors 1 to 8");

}  // namespace

const XtraMethodTable kNetMethods = {1, 8, kHandlers};
