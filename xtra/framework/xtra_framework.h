// The part of an Xtra that both of ours share: the class table and the module
// exports that walk it, interface objects with their reference counting,
// registration of the method table, and Call dispatch by selector.
//
// An Xtra supplies its class table through XtraModuleClasses(), the operation
// tables of its interface objects (choosing plain or interlocked counting), its
// Register and Call operations (built on the helpers below) and its handlers.
#pragma once

#include <cstdint>

#include "xtra/framework/host_interfaces.h"

// ---- Class table ----------------------------------------------------------------

using XtraInterfaceCreator = XtraCode (*)(XtraObjectHeader* owner, void** out);

struct XtraInterfaceEntry {
  const XtraGuid* interfaceId;
  uint32_t version;
  XtraInterfaceCreator creator;
};

struct XtraClassEntry {
  const XtraGuid* classId;
  uint32_t version;
  uint32_t objectSize;
  XtraCreateProc create;
  XtraDestroyProc destroy;
  const XtraInterfaceEntry* interfaces;
  uint32_t interfaceCount;
};

struct XtraClassTable {
  const XtraClassEntry* classes;
  uint32_t classCount;
};

// Defined once by each Xtra (and by tests that link the framework directly).
const XtraClassTable& XtraModuleClasses();

// A visitor that returns nonzero ends the walk; that value is the walk's result.
using XtraClassVisitor = XtraCode (*)(void* context, const XtraClassEntry& entry);
using XtraInterfaceVisitor = XtraCode (*)(void* context, const XtraClassEntry& entry,
                                          const XtraInterfaceEntry& iface);

// Visits the classes that pass the filter (null admits all) in table order, each
// followed by its interfaces. Either visitor may be null.
XtraCode WalkClassTable(const XtraClassTable& table, const XtraGuid* classFilter,
                        XtraClassVisitor classVisitor, XtraInterfaceVisitor interfaceVisitor,
                        void* context);

// The exports' work on an explicit table.
XtraCode GetClassForm(const XtraClassTable& table, const XtraGuid* classId, uint32_t* objectSize,
                      XtraCreateProc* create, XtraDestroyProc* destroy);
XtraCode GetInterface(const XtraClassTable& table, XtraObjectHeader* classObject, const XtraGuid* classId,
                      const XtraGuid* interfaceId, void** out);
XtraCode GetClassInfo(const XtraClassTable& table, HostAllocator* allocator, ClassInfoEntry** out);

// Module exports (exported by plain name through each Xtra's .def file).
extern "C" {
XtraCode XTRA_CALL DllGetClassObject(void* unused1, void* unused2, void* unused3);
XtraCode XTRA_CALL DllCanUnloadNow();
XtraCode XTRA_CALL DllGetClassForm(const XtraGuid* classId, uint32_t* objectSize, XtraCreateProc* create,
                                   XtraDestroyProc* destroy);
XtraCode XTRA_CALL DllGetInterface(XtraObjectHeader* classObject, const XtraGuid* classId,
                                   const XtraGuid* interfaceId, void** out);
XtraCode XTRA_CALL DllGetClassInfo(HostAllocator* allocator, ClassInfoEntry** out);
}

// ---- Interface objects ----------------------------------------------------------

// Layout of every interface object the framework makes.
struct XtraInterfaceObject {
  const XtraUnknownOps* ops;
  XtraObjectHeader* owner;
  int32_t refCount;
};

// Interface objects alive in this module.
extern uint32_t liveObjectCount;

// Allocates from the owner's allocator, calling the process's allocation-failure
// handler between attempts for as long as one is installed.
void* AllocateWithRetry(HostAllocator* allocator, uint32_t size);

// The creator's work: a new object with count 1 holding two references on its owner.
XtraCode CreateInterfaceObject(XtraObjectHeader* owner, const void* operations, void** out);

inline XtraObjectHeader* InterfaceOwner(const void* interfaceObject) {
  return static_cast<const XtraInterfaceObject*>(interfaceObject)->owner;
}

XtraCode XTRA_CALL InterfaceQueryInterface(XtraUnknown* self, const XtraGuid* interfaceId, void** out);
uint32_t XTRA_CALL InterfaceAddRefPlain(XtraUnknown* self);
uint32_t XTRA_CALL InterfaceReleasePlain(XtraUnknown* self);
uint32_t XTRA_CALL InterfaceAddRefInterlocked(XtraUnknown* self);
uint32_t XTRA_CALL InterfaceReleaseInterlocked(XtraUnknown* self);

// The base operations with either kind of counting, for an Xtra's operation tables.
inline constexpr XtraUnknownOps kPlainCountedBase = {&InterfaceQueryInterface, &InterfaceAddRefPlain,
                                                     &InterfaceReleasePlain};
inline constexpr XtraUnknownOps kInterlockedCountedBase = {&InterfaceQueryInterface, &InterfaceAddRefInterlocked,
                                                           &InterfaceReleaseInterlocked};

// ---- Registration -----------------------------------------------------------------

// The line "xtra <name>\n" followed by tableBody, composed in a block of blockBytes
// from the owner's allocator and stored as "msgTable" for classId's scripting
// interface; the put's code is the result.
XtraCode RegisterComposedTable(XtraObjectHeader* owner, RegistrationCache* cache, void* xtraDictionary,
                               const XtraGuid& classId, const char* xtraName, const char* tableBody,
                               uint32_t blockBytes);

// The static table as "msgTable" and "safeForShockwave" = 1; the flag's put is the result.
XtraCode RegisterShockwaveSafeTable(RegistrationCache* cache, void* xtraDictionary, const XtraGuid& classId,
                                    const char* table);

// ---- Call dispatch ------------------------------------------------------------------

using XtraMethodHandler = void (*)(IMoaMmXScript* script, XtraCallRecord* call);

// Handlers for selectors firstSelector .. firstSelector + count - 1.
struct XtraMethodTable {
  int32_t firstSelector;
  int32_t count;
  const XtraMethodHandler* handlers;
};

// Runs the selector's handler; other selectors do nothing. Always 0.
XtraCode DispatchCall(const XtraMethodTable& table, IMoaMmXScript* script, XtraCallRecord* call);
