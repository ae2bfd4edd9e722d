// What the Xtras use of the Director host: the class object header, the host's
// services and the records that cross between host and Xtra. The host owns all of
// these; the declarations keep only the operations our Xtras call, with unused
// slots standing in for the rest so every operation sits at its position.
//
// Every operation and module export uses the COM calling convention on Win32.
// Interfaces are C-style: an object starts with a pointer to its operation table,
// and every table starts with the three base operations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(_WIN32)
#define XTRA_CALL __stdcall
#else
#define XTRA_CALL
#endif

// 128-bit identifier in the usual GUID layout.
struct XtraGuid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
};

inline bool SameGuid(const XtraGuid& a, const XtraGuid& b) {
  return std::memcmp(&a, &b, sizeof(XtraGuid)) == 0;
}

// Error codes: 0 for success; the framework's own failures are below, the host's
// codes pass through unchanged.
using XtraCode = uint32_t;
constexpr XtraCode kXtraOk = 0;
constexpr XtraCode kXtraErrNoMemory = 0x80040002u;
constexpr XtraCode kXtraErrObjectsAlive = 0x80040003u;
constexpr XtraCode kXtraErrNoInterface = 0x80040004u;
constexpr XtraCode kXtraErrNoClass = 0x80040005u;

// The host's value: 8 opaque bytes that only the value services look into.
struct HostValue {
  uint32_t words[2];
};

// A slot for a host operation that no Xtra calls.
using XtraUnusedOp = void(XTRA_CALL*)(void* self);

// ---- Base operations --------------------------------------------------------

struct XtraUnknown;
struct XtraUnknownOps {
  XtraCode(XTRA_CALL* QueryInterface)(XtraUnknown* self, const XtraGuid* interfaceId, void** out);
  uint32_t(XTRA_CALL* AddRef)(XtraUnknown* self);
  uint32_t(XTRA_CALL* Release)(XtraUnknown* self);
};
struct XtraUnknown {
  const XtraUnknownOps* ops;
};

// The base operations of any interface object (every table starts with them).
template <class T>
XtraCode XtraQueryInterface(T* object, const XtraGuid& interfaceId, void** out) {
  XtraUnknown* base = reinterpret_cast<XtraUnknown*>(object);
  return base->ops->QueryInterface(base, &interfaceId, out);
}
template <class T>
uint32_t XtraAddRef(T* object) {
  XtraUnknown* base = reinterpret_cast<XtraUnknown*>(object);
  return base->ops->AddRef(base);
}
template <class T>
uint32_t XtraRelease(T* object) {
  XtraUnknown* base = reinterpret_cast<XtraUnknown*>(object);
  return base->ops->Release(base);
}

// ---- Class object header ----------------------------------------------------

struct HostAllocator;
struct HostAllocatorOps {
  XtraUnknownOps base;
  void*(XTRA_CALL* Allocate)(HostAllocator* self, uint32_t size);
  void(XTRA_CALL* Free)(HostAllocator* self, void* block);
};
struct HostAllocator {
  const HostAllocatorOps* ops;
};

// Hands out the host's services by interface identifier (first operation).
struct HostCallback {
  const XtraUnknownOps* ops;
};

// Filled by the host before the class's create procedure runs; the class's own
// fields follow it. The last three words are the host's bookkeeping.
struct XtraObjectHeader {
  const XtraUnknownOps* ops;  // the class object's own base interface
  HostCallback* callback;
  HostAllocator* allocator;
  uint32_t hostRefCount;
  void* hostContext;
  uint32_t hostReserved;
};

// ---- Registration -----------------------------------------------------------

struct RegistryEntryDictionary;
struct RegistryEntryDictionaryOps {
  XtraUnknownOps base;
  XtraUnusedOp unused1[3];
  XtraCode(XTRA_CALL* Put)(RegistryEntryDictionary* self, uint32_t valueType, const void* data,
                           uint32_t size, const char* key);  // 4
};
struct RegistryEntryDictionary {
  const RegistryEntryDictionaryOps* ops;
};

// Value types of Put.
constexpr uint32_t kRegistryTypeBoolean = 6;  // one byte, size 1
constexpr uint32_t kRegistryTypeText = 9;     // NUL-terminated, size 0

struct RegistrationCache;
struct RegistrationCacheOps {
  XtraUnknownOps base;
  XtraUnusedOp unused1[4];
  XtraCode(XTRA_CALL* AddRegistryEntry)(RegistrationCache* self, void* xtraDictionary,
                                        const XtraGuid* classId, const XtraGuid* interfaceId,
                                        RegistryEntryDictionary** out);  // 5
};
struct RegistrationCache {
  const RegistrationCacheOps* ops;
};

// ---- Call record --------------------------------------------------------------

struct XtraCallRecord {
  uint32_t hostReserved0;
  uint32_t hostReserved1;
  int32_t selector;
  HostValue result;
  uint32_t hostReserved2;
  HostValue* args;  // args[0]: the reference Lingo called through; Lingo arguments from 1
};

// ---- Xtra-side interfaces ---------------------------------------------------

struct IMoaRegister;
struct IMoaRegisterOps {
  XtraUnknownOps base;
  XtraCode(XTRA_CALL* Register)(IMoaRegister* self, RegistrationCache* cache, void* xtraDictionary);
};
struct IMoaRegister {
  const IMoaRegisterOps* ops;
};

struct IMoaMmXScript;
struct IMoaMmXScriptOps {
  XtraUnknownOps base;
  XtraCode(XTRA_CALL* Call)(IMoaMmXScript* self, XtraCallRecord* call);
};
struct IMoaMmXScript {
  const IMoaMmXScriptOps* ops;
};

// nelXtra's scripting interface carries one more operation for its own dispatcher.
struct NelScriptOps {
  IMoaMmXScriptOps script;
  void*(XTRA_CALL* GetStageWindow)(IMoaMmXScript* self);  // window handle or null
};

// ---- Services -----------------------------------------------------------------

// nelXtra's value service.
struct NelValueService;
struct NelValueServiceOps {
  XtraUnknownOps base;
  XtraUnusedOp unused1[5];
  XtraCode(XTRA_CALL* ValueToInteger)(NelValueService* self, const HostValue* value, int32_t* out);  // 6
  XtraUnusedOp unused7[3];
  XtraCode(XTRA_CALL* ValueToString)(NelValueService* self, const HostValue* value, char* buffer,
                                     int32_t bufferSize);  // 10
  XtraUnusedOp unused11[4];
  XtraCode(XTRA_CALL* IntegerToValue)(NelValueService* self, int32_t number, HostValue* out);  // 15
  XtraUnusedOp unused16[2];
  XtraCode(XTRA_CALL* StringToValue)(NelValueService* self, const char* text, HostValue* out);  // 18
};
struct NelValueService {
  const NelValueServiceOps* ops;
};

// NetWireXtra's value service.
struct NetValueService;
struct NetValueServiceOps {
  XtraUnknownOps base;
  XtraUnusedOp unused1[10];
  XtraCode(XTRA_CALL* ValueToInteger)(NetValueService* self, const HostValue* value, int32_t* out);  // 11
  XtraUnusedOp unused12[2];
  XtraCode(XTRA_CALL* StringLength)(NetValueService* self, const HostValue* value, int32_t* out);  // 14
  XtraCode(XTRA_CALL* ValueToString)(NetValueService* self, const HostValue* value, char* buffer,
                                     int32_t bufferSize);  // 15
  XtraUnusedOp unused16[4];
  XtraCode(XTRA_CALL* IntegerToValue)(NetValueService* self, int32_t number, HostValue* out);  // 20
  XtraUnusedOp unused21[2];
  XtraCode(XTRA_CALL* StringToValue)(NetValueService* self, const char* text, HostValue* out);  // 23
};
struct NetValueService {
  const NetValueServiceOps* ops;
};

struct ListService;
struct ListServiceOps {
  XtraUnknownOps base;
  XtraCode(XTRA_CALL* NewList)(ListService* self, HostValue* out);                            // 1
  XtraCode(XTRA_CALL* Append)(ListService* self, HostValue* list, const HostValue* value);  // 2
};
struct ListService {
  const ListServiceOps* ops;
};

// The native window description; the window handle is the third 32-bit field.
struct NativeWindowDescription {
  uint32_t field0;
  uint32_t field1;
  void* window;
  uint32_t reserved[5];
};

struct StageWindow;
struct StageWindowOps {
  XtraUnknownOps base;
  XtraUnusedOp unused1[2];
  XtraCode(XTRA_CALL* GetNativeWindow)(StageWindow* self, NativeWindowDescription* out);  // 3
};
struct StageWindow {
  const StageWindowOps* ops;
};

struct Movie;
struct MovieOps {
  XtraUnknownOps base;
  XtraUnusedOp unused1[16];
  XtraCode(XTRA_CALL* GetStageWindow)(Movie* self, StageWindow** out);  // 17
};
struct Movie {
  const MovieOps* ops;
};

struct PlayerService;
struct PlayerServiceOps {
  XtraUnknownOps base;
  XtraUnusedOp unused1[3];
  XtraCode(XTRA_CALL* GetCurrentMovie)(PlayerService* self, Movie** out);  // 4
};
struct PlayerService {
  const PlayerServiceOps* ops;
};

constexpr int32_t kAppInfoHostVersion = 6;
constexpr uint32_t kAppInfoBufferBytes = 64;

struct AppInfoService;
struct AppInfoServiceOps {
  XtraUnknownOps base;
  XtraCode(XTRA_CALL* GetInfo)(AppInfoService* self, int32_t item, char* buffer, uint32_t bufferSize);  // 1
};
struct AppInfoService {
  const AppInfoServiceOps* ops;
};

// Colour as exchanged with the colour-value service; kind 1 is an RGB colour.
struct ColourRecord {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
  uint8_t kind;
};
constexpr uint8_t kColourKindRgb = 1;

struct ColourValueService;
struct ColourValueServiceOps {
  XtraUnknownOps base;
  XtraCode(XTRA_CALL* ValueToColour)(ColourValueService* self, const HostValue* value, ColourRecord* out);  // 1
  XtraCode(XTRA_CALL* ColourToValue)(ColourValueService* self, const ColourRecord* colour, HostValue* out);  // 2
};
struct ColourValueService {
  const ColourValueServiceOps* ops;
};

// Acquired and held by nelXtra, never called.
struct AuxiliaryService {
  const XtraUnknownOps* ops;
};

// ---- Identifiers --------------------------------------------------------------

constexpr XtraGuid kIID_IMoaRegister = {0xAC3E7803, 0x0002, 0x8FE5, {0x00, 0x00, 0x08, 0x00, 0x07, 0x16, 0x0D, 0xC3}};
constexpr XtraGuid kIID_IMoaMmXScript = {0xAC401FB6, 0x0001, 0xF9B0, {0x00, 0x00, 0x08, 0x00, 0x07, 0x2C, 0x63, 0x26}};
constexpr XtraGuid kIID_BaseInterface = {0x00000001, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr uint32_t kBaseInterfaceVersion = 1;

constexpr XtraGuid kIID_NelValueService = {0x151A5780, 0x32BD, 0x11D0, {0x81, 0x51, 0x00, 0xAA, 0x00, 0x5F, 0x3C, 0x08}};
constexpr XtraGuid kIID_NetValueService = {0xAC96CF89, 0x0045, 0x5879, {0x00, 0x00, 0x00, 0x40, 0x10, 0x50, 0x23, 0xFB}};
constexpr XtraGuid kIID_ListService = {0xAC96CF98, 0x0045, 0x5C0B, {0x00, 0x00, 0x00, 0x40, 0x10, 0x50, 0x23, 0xFB}};
constexpr XtraGuid kIID_PlayerService = {0xAC401B78, 0x0000, 0xFA7D, {0x00, 0x00, 0x08, 0x00, 0x07, 0x2C, 0x63, 0x26}};
constexpr XtraGuid kIID_AppInfoService = {0xACC7E2B8, 0x000A, 0xB4D0, {0x00, 0x00, 0x08, 0x00, 0x07, 0x16, 0x0D, 0xC3}};
constexpr XtraGuid kIID_ColourValueService = {0xF36721D0, 0x11E7, 0x11D2, {0x9D, 0x18, 0x00, 0x10, 0x4B, 0x27, 0x97, 0xF3}};
constexpr XtraGuid kIID_AuxiliaryService = {0x3F698780, 0x32BE, 0x11D0, {0x81, 0x51, 0x00, 0xAA, 0x00, 0x5F, 0x3C, 0x08}};

// ---- Module exports -----------------------------------------------------------

using XtraCreateProc = XtraCode(XTRA_CALL*)(XtraObjectHeader* classObject);
using XtraDestroyProc = XtraCode(XTRA_CALL*)(XtraObjectHeader* classObject);

// One record of DllGetClassInfo's array.
struct ClassInfoEntry {
  XtraGuid classId;
  uint32_t classVersion;
  XtraGuid interfaceId;
  uint32_t interfaceVersion;
};

using DllGetClassObjectProc = XtraCode(XTRA_CALL*)(void*, void*, void*);
using DllCanUnloadNowProc = XtraCode(XTRA_CALL*)();
using DllGetClassFormProc = XtraCode(XTRA_CALL*)(const XtraGuid* classId, uint32_t* objectSize,
                                                 XtraCreateProc* create, XtraDestroyProc* destroy);
using DllGetInterfaceProc = XtraCode(XTRA_CALL*)(XtraObjectHeader* classObject, const XtraGuid* classId,
                                                 const XtraGuid* interfaceId, void** out);
using DllGetClassInfoProc = XtraCode(XTRA_CALL*)(HostAllocator* allocator, ClassInfoEntry** out);

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(XtraGuid) == 16, "identifier layout");
static_assert(sizeof(HostValue) == 8, "host value is two words");
static_assert(sizeof(XtraObjectHeader) == 24, "object header is 24 bytes");
static_assert(offsetof(XtraCallRecord, selector) == 8, "call record layout");
static_assert(offsetof(XtraCallRecord, result) == 12, "call record layout");
static_assert(offsetof(XtraCallRecord, hostReserved2) == 20, "call record layout");
static_assert(offsetof(XtraCallRecord, args) == 24, "call record layout");
static_assert(sizeof(ClassInfoEntry) == 40, "class information record");
static_assert(offsetof(NativeWindowDescription, window) == 8, "window handle is the third field");
static_assert(offsetof(NelValueServiceOps, ValueToInteger) == (3 + 5) * 4, "operation 6");
static_assert(offsetof(NelValueServiceOps, ValueToString) == (3 + 9) * 4, "operation 10");
static_assert(offsetof(NelValueServiceOps, IntegerToValue) == (3 + 14) * 4, "operation 15");
static_assert(offsetof(NelValueServiceOps, StringToValue) == (3 + 17) * 4, "operation 18");
static_assert(offsetof(NetValueServiceOps, ValueToInteger) == (3 + 10) * 4, "operation 11");
static_assert(offsetof(NetValueServiceOps, StringLength) == (3 + 13) * 4, "operation 14");
static_assert(offsetof(NetValueServiceOps, ValueToString) == (3 + 14) * 4, "operation 15");
static_assert(offsetof(NetValueServiceOps, IntegerToValue) == (3 + 19) * 4, "operation 20");
static_assert(offsetof(NetValueServiceOps, StringToValue) == (3 + 22) * 4, "operation 23");
static_assert(offsetof(RegistrationCacheOps, AddRegistryEntry) == (3 + 4) * 4, "operation 5");
static_assert(offsetof(RegistryEntryDictionaryOps, Put) == (3 + 3) * 4, "operation 4");
static_assert(offsetof(PlayerServiceOps, GetCurrentMovie) == (3 + 3) * 4, "operation 4");
static_assert(offsetof(MovieOps, GetStageWindow) == (3 + 16) * 4, "operation 17");
static_assert(offsetof(StageWindowOps, GetNativeWindow) == (3 + 2) * 4, "operation 3");
static_assert(offsetof(NelScriptOps, GetStageWindow) == 4 * 4, "fifth operation");
#endif
