#include "tools/xtrahost/host_services.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HostObject* Self(void* self) { return static_cast<HostObject*>(self); }
XtraHost& HostOf(void* self) { return *Self(self)->host; }

// No Xtra calls these; one that does is broken, and the host says so loudly.
void XTRA_CALL UnexpectedOperation(void*) {
  std::fprintf(stderr, "xtrahost: an Xtra called a host operation it doesn't use\n");
  std::fflush(stderr);
  std::abort();
}

XtraCode XTRA_CALL ObjectQueryInterface(XtraUnknown* self, const XtraGuid* interfaceId, void** out) {
  *out = nullptr;
  if (!SameGuid(*interfaceId, kIID_BaseInterface)) return kHostErrNoInterface;
  ++Self(self)->refs;
  *out = self;
  return kXtraOk;
}
uint32_t XTRA_CALL ObjectAddRef(XtraUnknown* self) { return static_cast<uint32_t>(++Self(self)->refs); }
uint32_t XTRA_CALL ObjectRelease(XtraUnknown* self) { return static_cast<uint32_t>(--Self(self)->refs); }

constexpr XtraUnknownOps kBase = {&ObjectQueryInterface, &ObjectAddRef, &ObjectRelease};

// ---- allocator and callback

void* XTRA_CALL Allocate(HostAllocator* self, uint32_t size) { return HostOf(self).Allocate(size); }
void XTRA_CALL Free(HostAllocator* self, void* block) { HostOf(self).Free(block); }
const HostAllocatorOps kAllocatorOps = {kBase, &Allocate, &Free};

XtraCode XTRA_CALL CallbackQueryInterface(XtraUnknown* self, const XtraGuid* interfaceId, void** out) {
  return HostOf(self).Offer(*interfaceId, out);
}
const XtraUnknownOps kCallbackOps = {&CallbackQueryInterface, &ObjectAddRef, &ObjectRelease};

// ---- registration

XtraCode XTRA_CALL AddRegistryEntry(RegistrationCache* self, void* dictionary, const XtraGuid* classId,
                                    const XtraGuid* interfaceId, RegistryEntryDictionary** out) {
  return HostOf(self).AddEntry(dictionary, classId, interfaceId, out);
}
RegistrationCacheOps MakeCacheOps() {
  RegistrationCacheOps ops{};
  ops.base = kBase;
  for (auto& slot : ops.unused1) slot = &UnexpectedOperation;
  ops.AddRegistryEntry = &AddRegistryEntry;
  return ops;
}
const RegistrationCacheOps kCacheOps = MakeCacheOps();

XtraCode XTRA_CALL Put(RegistryEntryDictionary* self, uint32_t type, const void* data, uint32_t size,
                       const char* key) {
  return HostOf(self).Put(Self(self)->index, type, data, size, key);
}
RegistryEntryDictionaryOps MakeEntryOps() {
  RegistryEntryDictionaryOps ops{};
  ops.base = kBase;
  for (auto& slot : ops.unused1) slot = &UnexpectedOperation;
  ops.Put = &Put;
  return ops;
}
const RegistryEntryDictionaryOps kEntryOps = MakeEntryOps();

// ---- value services (both Xtras' flavours share the conversions)

XtraCode ValueToInteger(void* self, const HostValue* value, int32_t* out) {
  return HostOf(self).Values().ToInteger(*value, out) ? kXtraOk : kHostErrWrongValue;
}
XtraCode ValueToString(void* self, const HostValue* value, char* buffer, int32_t bufferSize) {
  std::string text;
  if (bufferSize <= 0 || !HostOf(self).Values().ToText(*value, &text)) return kHostErrWrongValue;
  const size_t n = std::min(text.size(), static_cast<size_t>(bufferSize) - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return kXtraOk;
}
XtraCode IntegerToValue(int32_t number, HostValue* out) {
  *out = HostValueStore::Integer(number);
  return kXtraOk;
}
XtraCode StringToValue(void* self, const char* text, HostValue* out) {
  *out = HostOf(self).Values().String(text ? text : "");
  return kXtraOk;
}

XtraCode XTRA_CALL NelValueToInteger(NelValueService* s, const HostValue* v, int32_t* out) { return ValueToInteger(s, v, out); }
XtraCode XTRA_CALL NelValueToString(NelValueService* s, const HostValue* v, char* b, int32_t n) { return ValueToString(s, v, b, n); }
XtraCode XTRA_CALL NelIntegerToValue(NelValueService*, int32_t number, HostValue* out) { return IntegerToValue(number, out); }
XtraCode XTRA_CALL NelStringToValue(NelValueService* s, const char* text, HostValue* out) { return StringToValue(s, text, out); }

NelValueServiceOps MakeNelValueOps() {
  NelValueServiceOps ops{};
  ops.base = kBase;
  for (auto& slot : ops.unused1) slot = &UnexpectedOperation;
  for (auto& slot : ops.unused7) slot = &UnexpectedOperation;
  for (auto& slot : ops.unused11) slot = &UnexpectedOperation;
  for (auto& slot : ops.unused16) slot = &UnexpectedOperation;
  ops.ValueToInteger = &NelValueToInteger;
  ops.ValueToString = &NelValueToString;
  ops.IntegerToValue = &NelIntegerToValue;
  ops.StringToValue = &NelStringToValue;
  return ops;
}
const NelValueServiceOps kNelValueOps = MakeNelValueOps();

XtraCode XTRA_CALL NetValueToInteger(NetValueService* s, const HostValue* v, int32_t* out) { return ValueToInteger(s, v, out); }
XtraCode XTRA_CALL NetStringLength(NetValueService* s, const HostValue* v, int32_t* out) {
  std::string text;
  if (!HostOf(s).Values().ToText(*v, &text)) return kHostErrWrongValue;
  *out = static_cast<int32_t>(text.size());
  return kXtraOk;
}
XtraCode XTRA_CALL NetValueToString(NetValueService* s, const HostValue* v, char* b, int32_t n) { return ValueToString(s, v, b, n); }
XtraCode XTRA_CALL NetIntegerToValue(NetValueService*, int32_t number, HostValue* out) { return IntegerToValue(number, out); }
XtraCode XTRA_CALL NetStringToValue(NetValueService* s, const char* text, HostValue* out) { return StringToValue(s, text, out); }

NetValueServiceOps MakeNetValueOps() {
  NetValueServiceOps ops{};
  ops.base = kBase;
  for (auto& slot : ops.unused1) slot = &UnexpectedOperation;
  for (auto& slot : ops.unused12) slot = &UnexpectedOperation;
  for (auto& slot : ops.unused16) slot = &UnexpectedOperation;
  for (auto& slot : ops.unused21) slot = &UnexpectedOperation;
  ops.ValueToInteger = &NetValueToInteger;
  ops.StringLength = &NetStringLength;
  ops.ValueToString = &NetValueToString;
  ops.IntegerToValue = &NetIntegerToValue;
  ops.StringToValue = &NetStringToValue;
  return ops;
}
const NetValueServiceOps kNetValueOps = MakeNetValueOps();

// ---- list, colour, application information

XtraCode XTRA_CALL NewList(ListService* self, HostValue* out) {
  *out = HostOf(self).Values().NewList();
  return kXtraOk;
}
XtraCode XTRA_CALL Append(ListService* self, HostValue* list, const HostValue* value) {
  return HostOf(self).Values().Append(*list, *value) ? kXtraOk : kHostErrWrongValue;
}
const ListServiceOps kListOps = {kBase, &NewList, &Append};

XtraCode XTRA_CALL ValueToColour(ColourValueService* self, const HostValue* value, ColourRecord* out) {
  return HostOf(self).Values().ToColour(*value, out) ? kXtraOk : kHostErrWrongValue;
}
XtraCode XTRA_CALL ColourToValue(ColourValueService*, const ColourRecord* colour, HostValue* out) {
  *out = HostValueStore::Colour(*colour);
  return kXtraOk;
}
const ColourValueServiceOps kColourOps = {kBase, &ValueToColour, &ColourToValue};

XtraCode XTRA_CALL GetInfo(AppInfoService* self, int32_t item, char* buffer, uint32_t bufferSize) {
  if (bufferSize == 0) return kHostErrRefused;
  buffer[0] = '\0';
  if (item != kAppInfoHostVersion) return kHostErrRefused;
  std::snprintf(buffer, bufferSize, "%s", HostOf(self).hostVersion.c_str());
  return HostOf(self).failInfo ? kHostErrRefused : kXtraOk;
}
const AppInfoServiceOps kAppInfoOps = {kBase, &GetInfo};

// ---- player, movie, stage window

XtraCode XTRA_CALL GetCurrentMovie(PlayerService* self, Movie** out);
PlayerServiceOps MakePlayerOps() {
  PlayerServiceOps ops{};
  ops.base = kBase;
  for (auto& slot : ops.unused1) slot = &UnexpectedOperation;
  ops.GetCurrentMovie = &GetCurrentMovie;
  return ops;
}
const PlayerServiceOps kPlayerOps = MakePlayerOps();

XtraCode XTRA_CALL GetStageWindow(Movie* self, StageWindow** out) { return HostOf(self).StageOut(out); }
MovieOps MakeMovieOps() {
  MovieOps ops{};
  ops.base = kBase;
  for (auto& slot : ops.unused1) slot = &UnexpectedOperation;
  ops.GetStageWindow = &GetStageWindow;
  return ops;
}
const MovieOps kMovieOps = MakeMovieOps();

XtraCode XTRA_CALL GetNativeWindow(StageWindow* self, NativeWindowDescription* out) {
  std::memset(out, 0, sizeof *out);
  out->window = HostOf(self).stageWindow;
  return HostOf(self).failNativeWindow ? kHostErrRefused : kXtraOk;
}
StageWindowOps MakeStageOps() {
  StageWindowOps ops{};
  ops.base = kBase;
  for (auto& slot : ops.unused1) slot = &UnexpectedOperation;
  ops.GetNativeWindow = &GetNativeWindow;
  return ops;
}
const StageWindowOps kStageOps = MakeStageOps();

const XtraUnknownOps kAuxiliaryOps = kBase;

struct ServiceName {
  const char* name;
  HostObjectId id;
  const char* role;
};
constexpr ServiceName kServiceNames[] = {
    {"value", HostObjectId::NelValue, "value service (nelXtra)"},
    {"value", HostObjectId::NetValue, "value service (NetWireXtra)"},
    {"list", HostObjectId::List, "list service"},
    {"player", HostObjectId::Player, "player service"},
    {"appinfo", HostObjectId::AppInfo, "application-information service"},
    {"colour", HostObjectId::Colour, "colour-value service"},
    {"auxiliary", HostObjectId::Auxiliary, "auxiliary service"},
    {"movie", HostObjectId::Movie, "movie"},
    {"stage", HostObjectId::Stage, "stage window"},
};

struct Offered {
  const XtraGuid* interfaceId;
  HostObjectId id;
};
constexpr Offered kOffered[] = {
    {&kIID_NelValueService, HostObjectId::NelValue}, {&kIID_NetValueService, HostObjectId::NetValue},
    {&kIID_ListService, HostObjectId::List},         {&kIID_PlayerService, HostObjectId::Player},
    {&kIID_AppInfoService, HostObjectId::AppInfo},   {&kIID_ColourValueService, HostObjectId::Colour},
    {&kIID_AuxiliaryService, HostObjectId::Auxiliary},
};

XtraCode XTRA_CALL GetCurrentMovie(PlayerService* self, Movie** out) { return HostOf(self).MovieOut(out); }

}  // namespace

XtraHost::XtraHost() {
  const void* ops[int(HostObjectId::Count)] = {
      &kNelValueOps, &kNetValueOps, &kListOps, &kPlayerOps, &kAppInfoOps, &kColourOps, &kAuxiliaryOps,
      &kMovieOps,    &kStageOps,    &kAllocatorOps, &kCallbackOps, &kCacheOps, &kEntryOps};
  for (int i = 0; i < int(HostObjectId::Count); ++i) {
    objects_[i] = HostObject{ops[i], this, 0, static_cast<HostObjectId>(i), 0};
  }
}

XtraHost::~XtraHost() {
  for (auto& block : blocks_) std::free(block.first);
}

bool XtraHost::SetUnavailable(const std::string& serviceName) {
  bool known = false;
  for (const ServiceName& service : kServiceNames) {
    if (serviceName == service.name) {
      unavailable_[int(service.id)] = true;
      known = true;
    }
  }
  return known;
}

bool XtraHost::SetFault(const std::string& faultName) {
  bool* const faults[] = {&failRegistryEntry, &failPut, &failInfo, &failNativeWindow};
  const char* const names[] = {"entry", "put", "info", "window"};
  for (size_t i = 0; i < sizeof faults / sizeof faults[0]; ++i) {
    if (faultName == names[i]) {
      *faults[i] = true;
      return true;
    }
  }
  return false;
}

std::vector<std::string> XtraHost::HeldServices() const {
  std::vector<std::string> held;
  for (const ServiceName& service : kServiceNames) {
    const int32_t refs = objects_[int(service.id)].refs;
    if (refs != 0) held.push_back(std::string(service.role) + " (" + std::to_string(refs) + ")");
  }
  return held;
}

void* XtraHost::Allocate(uint32_t size) {
  if (failAllocations < 0) return nullptr;
  if (failAllocations > 0) {
    --failAllocations;
    return nullptr;
  }
  void* block = std::calloc(1, size ? size : 1);
  if (!block) return nullptr;
  blocks_[block] = size;
  ++allocationCount;
  return block;
}

void XtraHost::Free(void* block) {
  auto found = blocks_.find(block);
  if (found == blocks_.end()) {
    ++badFrees;
    return;
  }
  std::free(block);
  blocks_.erase(found);
}

XtraCode XtraHost::Offer(const XtraGuid& interfaceId, void** out) {
  for (const Offered& offered : kOffered) {
    if (!SameGuid(interfaceId, *offered.interfaceId)) continue;
    if (unavailable_[int(offered.id)]) break;
    HostObject& object = objects_[int(offered.id)];
    ++object.refs;
    *out = &object;
    return kXtraOk;
  }
  *out = nullptr;
  return kHostErrNoInterface;
}

XtraCode XtraHost::AddEntry(void* dictionary, const XtraGuid* classId, const XtraGuid* interfaceId,
                            RegistryEntryDictionary** out) {
  if (failRegistryEntry) return kHostErrRefused;
  entries_.push_back(RegistryEntry{*classId, *interfaceId, dictionary == &xtraDictionary_, {}});
  entryDictionaries_.push_back(HostObject{&kEntryOps, this, 0, HostObjectId::EntryDictionary, entries_.size() - 1});
  *out = reinterpret_cast<RegistryEntryDictionary*>(&entryDictionaries_.back());
  return kXtraOk;
}

XtraCode XtraHost::Put(size_t entry, uint32_t type, const void* data, uint32_t size, const char* key) {
  if (failPut || entry >= entries_.size() || !key || !data) return kHostErrRefused;
  StoredValue value{type, {}};
  if (type == kRegistryTypeText && size == 0) {
    value.bytes = static_cast<const char*>(data);
  } else {
    value.bytes.assign(static_cast<const char*>(data), size);
  }
  entries_[entry].values[key] = value;
  return kXtraOk;
}

XtraCode XtraHost::MovieOut(Movie** out) {
  *out = nullptr;
  if (unavailable_[int(HostObjectId::Movie)]) return kHostErrRefused;
  HostObject& movie = objects_[int(HostObjectId::Movie)];
  ++movie.refs;
  *out = reinterpret_cast<Movie*>(&movie);
  return kXtraOk;
}

XtraCode XtraHost::StageOut(StageWindow** out) {
  *out = nullptr;
  if (unavailable_[int(HostObjectId::Stage)]) return kXtraOk;
  HostObject& stage = objects_[int(HostObjectId::Stage)];
  ++stage.refs;
  *out = reinterpret_cast<StageWindow*>(&stage);
  return kXtraOk;
}

std::string FormatGuid(const XtraGuid& g) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", unsigned(g.data1),
                unsigned(g.data2), unsigned(g.data3), g.data4[0], g.data4[1], g.data4[2], g.data4[3], g.data4[4],
                g.data4[5], g.data4[6], g.data4[7]);
  return text;
}
