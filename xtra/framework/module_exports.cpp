#include "xtra/framework/xtra_framework.h"

extern "C" {

XtraCode XTRA_CALL DllGetClassObject(void*, void*, void*) { return kXtraErrNoClass; }

XtraCode XTRA_CALL DllCanUnloadNow() { return liveObjectCount == 0 ? kXtraOk : kXtraErrObjectsAlive; }

XtraCode XTRA_CALL DllGetClassForm(const XtraGuid* classId, uint32_t* objectSize, XtraCreateProc* create,
                                   XtraDestroyProc* destroy) {
  return GetClassForm(XtraModuleClasses(), classId, objectSize, create, destroy);
}

XtraCode XTRA_CALL DllGetInterface(XtraObjectHeader* classObject, const XtraGuid* classId,
                                   const XtraGuid* interfaceId, void** out) {
  return GetInterface(XtraModuleClasses(), classObject, classId, interfaceId, out);
}

XtraCode XTRA_CALL DllGetClassInfo(HostAllocator* allocator, ClassInfoEntry** out) {
  return GetClassInfo(XtraModuleClasses(), allocator, out);
}

}  // extern "C"
