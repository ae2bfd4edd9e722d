// A test Xtra that keeps an interface object it should have released, so that
// xtrahost's end-of-run check has something to find.
#include "xtra/framework/xtra_framework.h"

namespace {

constexpr XtraGuid kLeakyClass = {0x1EA4C0DE, 0x0001, 0x0001, {9, 9, 9, 9, 9, 9, 9, 9}};

XtraCode XTRA_CALL Create(XtraObjectHeader*) { return kXtraOk; }
XtraCode XTRA_CALL Destroy(XtraObjectHeader*) { return kXtraOk; }

XtraCode XTRA_CALL LeakyRegister(IMoaRegister* self, RegistrationCache* cache, void* dictionary) {
  void* kept = nullptr;
  XtraQueryInterface(self, kIID_IMoaMmXScript, &kept);
  return RegisterShockwaveSafeTable(cache, dictionary, kLeakyClass, "xtra Leaky\n* Ping object me\n");
}

XtraCode XTRA_CALL LeakyCall(IMoaMmXScript*, XtraCallRecord*) { return kXtraOk; }

constexpr IMoaRegisterOps kRegisterOps = {kPlainCountedBase, &LeakyRegister};
constexpr IMoaMmXScriptOps kScriptOps = {kPlainCountedBase, &LeakyCall};
XtraCode MakeRegister(XtraObjectHeader* owner, void** out) { return CreateInterfaceObject(owner, &kRegisterOps, out); }
XtraCode MakeScript(XtraObjectHeader* owner, void** out) { return CreateInterfaceObject(owner, &kScriptOps, out); }

constexpr XtraInterfaceEntry kInterfaces[] = {{&kIID_IMoaRegister, 1, &MakeRegister},
                                              {&kIID_IMoaMmXScript, 1, &MakeScript}};
constexpr XtraClassEntry kClasses[] = {
    {&kLeakyClass, 1, sizeof(XtraObjectHeader), &Create, &Destroy, kInterfaces, 2}};
constexpr XtraClassTable kTable = {kClasses, 1};

}  // namespace

const XtraClassTable& XtraModuleClasses() { return kTable; }
