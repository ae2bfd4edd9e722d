#include <new>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "xtra/framework/xtra_framework.h"

uint32_t liveObjectCount = 0;

namespace {

XtraInterfaceObject* AsObject(XtraUnknown* self) { return reinterpret_cast<XtraInterfaceObject*>(self); }

int32_t IncrementInterlocked(int32_t* count) {
#if defined(_WIN32)
  return InterlockedIncrement(reinterpret_cast<volatile LONG*>(count));
#else
  return __atomic_add_fetch(count, 1, __ATOMIC_SEQ_CST);
#endif
}

int32_t DecrementInterlocked(int32_t* count) {
#if defined(_WIN32)
  return InterlockedDecrement(reinterpret_cast<volatile LONG*>(count));
#else
  return __atomic_sub_fetch(count, 1, __ATOMIC_SEQ_CST);
#endif
}

// The owner may go with its last reference, so everything needed from it is read
// before the first Release.
uint32_t FinishRelease(XtraInterfaceObject* object, int32_t newCount) {
  XtraObjectHeader* owner = object->owner;
  if (newCount == 0) {
    HostAllocator* allocator = owner->allocator;
    object->ops = nullptr;
    allocator->ops->Free(allocator, object);
    --liveObjectCount;
    XtraRelease(owner);
  }
  XtraRelease(owner);
  return static_cast<uint32_t>(newCount);
}

}  // namespace

void* AllocateWithRetry(HostAllocator* allocator, uint32_t size) {
  void* block = allocator->ops->Allocate(allocator, size);
  while (!block) {
    std::new_handler handler = std::get_new_handler();
    if (!handler) return nullptr;
#if __cpp_exceptions
    // A handler that gives up by throwing must not unwind into the host.
    try {
      handler();
    } catch (...) {
      return nullptr;
    }
#else
    // The shipped Xtras carry no exception runtime. Their runtime is linked in statically,
    // so the handler can only be one the Xtra installs itself, and none of ours throws.
    handler();
#endif
    block = allocator->ops->Allocate(allocator, size);
  }
  return block;
}

XtraCode CreateInterfaceObject(XtraObjectHeader* owner, const void* operations, void** out) {
  auto* object = static_cast<XtraInterfaceObject*>(AllocateWithRetry(owner->allocator, sizeof(XtraInterfaceObject)));
  if (!object) {
    *out = nullptr;
    return kXtraErrNoMemory;
  }
  object->owner = owner;
  object->refCount = 1;
  XtraAddRef(owner);
  XtraAddRef(owner);
  ++liveObjectCount;
  object->ops = static_cast<const XtraUnknownOps*>(operations);
  *out = object;
  return kXtraOk;
}

XtraCode XTRA_CALL InterfaceQueryInterface(XtraUnknown* self, const XtraGuid* interfaceId, void** out) {
  XtraObjectHeader* owner = AsObject(self)->owner;
  return owner->ops->QueryInterface(reinterpret_cast<XtraUnknown*>(owner), interfaceId, out);
}

uint32_t XTRA_CALL InterfaceAddRefPlain(XtraUnknown* self) {
  XtraInterfaceObject* object = AsObject(self);
  XtraAddRef(object->owner);
  return static_cast<uint32_t>(++object->refCount);
}

uint32_t XTRA_CALL InterfaceReleasePlain(XtraUnknown* self) {
  XtraInterfaceObject* object = AsObject(self);
  return FinishRelease(object, --object->refCount);
}

uint32_t XTRA_CALL InterfaceAddRefInterlocked(XtraUnknown* self) {
  XtraInterfaceObject* object = AsObject(self);
  XtraAddRef(object->owner);
  return static_cast<uint32_t>(IncrementInterlocked(&object->refCount));
}

uint32_t XTRA_CALL InterfaceReleaseInterlocked(XtraUnknown* self) {
  XtraInterfaceObject* object = AsObject(self);
  return FinishRelease(object, DecrementInterlocked(&object->refCount));
}
