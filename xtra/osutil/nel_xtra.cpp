#include "xtra/osutil/nel_xtra.h"

#include <cstring>

#include "xtra/osutil/host_encoding.h"
#include "xtra/osutil/nel_method_table.h"

namespace {

template <class T>
XtraCode AcquireService(XtraObjectHeader* object, const XtraGuid& interfaceId, T** out) {
  void* service = nullptr;
  XtraCode code = XtraQueryInterface(object->callback, interfaceId, &service);
  *out = code == kXtraOk ? static_cast<T*>(service) : nullptr;
  return code;
}

template <class T>
void ReleaseHeld(T*& service) {
  if (service) XtraRelease(service);
  service = nullptr;
}

XtraCode XTRA_CALL NelDestroy(XtraObjectHeader* object) {
  auto* nel = reinterpret_cast<NelClassObject*>(object);
  // Release answers a reference count, not an error: destruction itself can't fail.
  ReleaseHeld(nel->value);
  ReleaseHeld(nel->auxiliary);
  ReleaseHeld(nel->player);
  return kXtraOk;
}

void ReadHostEncoding(XtraObjectHeader* object) {
  hostUsesUtf8 = false;
  AppInfoService* appInfo = nullptr;
  if (AcquireService(object, kIID_AppInfoService, &appInfo) != kXtraOk || !appInfo) return;
  char version[kAppInfoBufferBytes] = {};
  if (appInfo->ops->GetInfo(appInfo, kAppInfoHostVersion, version, sizeof version) == kXtraOk) {
    version[sizeof version - 1] = '\0';
    hostUsesUtf8 = HostVersionUsesUtf8(version);
  }
  XtraRelease(appInfo);
}

XtraCode XTRA_CALL NelCreate(XtraObjectHeader* object) {
  auto* nel = reinterpret_cast<NelClassObject*>(object);
  nel->player = nullptr;
  nel->auxiliary = nullptr;
  nel->value = nullptr;
  XtraCode code = AcquireService(object, kIID_PlayerService, &nel->player);
  if (code == kXtraOk) code = AcquireService(object, kIID_NelValueService, &nel->value);
  if (code == kXtraOk) code = AcquireService(object, kIID_AuxiliaryService, &nel->auxiliary);
  if (code != kXtraOk) {
    // The host won't destroy an object whose creation failed: hand back what we hold.
    NelDestroy(object);
    return code;
  }
  ReadHostEncoding(object);
  return kXtraOk;
}

XtraCode XTRA_CALL NelRegister(IMoaRegister* self, RegistrationCache* cache, void* xtraDictionary) {
  return RegisterComposedTable(InterfaceOwner(self), cache, xtraDictionary, kNelClassId, kNelXtraName,
                               kNelMethodTableBody, kNelMethodTableBytes);
}

XtraCode XTRA_CALL NelCall(IMoaMmXScript* self, XtraCallRecord* call) {
  return DispatchCall(kNelMethods, self, call);
}

void* XTRA_CALL NelGetStageWindow(IMoaMmXScript* self) {
  PlayerService* player = NelInstance(self)->player;
  if (!player) return nullptr;
  Movie* movie = nullptr;
  if (player->ops->GetCurrentMovie(player, &movie) != kXtraOk || !movie) return nullptr;
  void* window = nullptr;
  StageWindow* stage = nullptr;
  if (movie->ops->GetStageWindow(movie, &stage) == kXtraOk && stage) {
    NativeWindowDescription description;
    std::memset(&description, 0, sizeof description);
    if (stage->ops->GetNativeWindow(stage, &description) == kXtraOk) window = description.window;
    XtraRelease(stage);
  }
  XtraRelease(movie);
  return window;
}

constexpr IMoaRegisterOps kRegisterOps = {kInterlockedCountedBase, &NelRegister};
constexpr NelScriptOps kScriptOps = {{kInterlockedCountedBase, &NelCall}, &NelGetStageWindow};

XtraCode CreateRegister(XtraObjectHeader* owner, void** out) {
  return CreateInterfaceObject(owner, &kRegisterOps, out);
}

XtraCode CreateScript(XtraObjectHeader* owner, void** out) {
  return CreateInterfaceObject(owner, &kScriptOps, out);
}

constexpr XtraInterfaceEntry kNelInterfaces[] = {
    {&kIID_IMoaRegister, kNelVersion, &CreateRegister},
    {&kIID_IMoaMmXScript, kNelVersion, &CreateScript},
};

constexpr XtraClassEntry kNelClasses[] = {
    {&kNelClassId, kNelVersion, sizeof(NelClassObject), &NelCreate, &NelDestroy, kNelInterfaces, 2},
};

constexpr XtraClassTable kNelClassTable = {kNelClasses, 1};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(NelClassObject) == 36, "header plus three service references");
#endif

}  // namespace

void* StageWindowOf(IMoaMmXScript* script) {
  return reinterpret_cast<const NelScriptOps*>(script->ops)->GetStageWindow(script);
}

const XtraClassTable& XtraModuleClasses() { return kNelClassTable; }
