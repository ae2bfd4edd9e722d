// NetWireXtra's classes and what its method handlers reach. The Xtra holds no
// services: each handler asks the instance's host callback and releases before
// returning (AcquireService / XtraRelease).
#pragma once

#include "xtra/framework/xtra_framework.h"

constexpr XtraGuid kNetRegisterClassId = {0x114AF465, 0x2460, 0x4318, {0x83, 0xED, 0x63, 0x35, 0xDC, 0x71, 0x6F, 0x9D}};
constexpr XtraGuid kNetScriptClassId = {0x81C7C73C, 0x5211, 0x40F9, {0xAF, 0x8C, 0x0A, 0x41, 0x3C, 0x57, 0x47, 0x41}};
constexpr uint32_t kNetVersion = 0x01000040;

extern const char kNetMethodTable[];

// Asks the instance's host callback for a service; null with the host's code on failure.
template <class T>
XtraCode AcquireService(IMoaMmXScript* script, const XtraGuid& interfaceId, T** out) {
  XtraObjectHeader* instance = InterfaceOwner(script);
  void* service = nullptr;
  XtraCode code = XtraQueryInterface(instance->callback, interfaceId, &service);
  *out = code == kXtraOk ? static_cast<T*>(service) : nullptr;
  return code;
}

// Selectors: the methods' positions in the table, "new object me" being 0.
enum NetSelector : int32_t {
  kGetLocalIPSelector = 1,
  kSendUDPMessageSelector,
  kSendTCPMessageSelector,
  kWaitForUDPSelector,
  kWaitForTCPSelector,
  kHasNextSelector,
  kGetNextSelector,
  kDestroyAllThreadsSelector,
};

// Handlers for selectors 1..8 (netwire_methods.cpp).
extern const XtraMethodTable kNetMethods;
