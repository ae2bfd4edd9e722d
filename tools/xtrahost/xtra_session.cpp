#include "tools/xtrahost/xtra_session.h"

#include <cstdio>

#include "tools/xtrahost/lingo_call.h"

namespace {

struct HostClassRecord {
  XtraHost* host;
  XtraGuid classId;
  DllGetInterfaceProc getInterface;
  XtraDestroyProc destroy;
};

HostClassRecord* RecordOf(XtraUnknown* self) {
  return static_cast<HostClassRecord*>(reinterpret_cast<XtraObjectHeader*>(self)->hostContext);
}

XtraCode XTRA_CALL ClassQueryInterface(XtraUnknown* self, const XtraGuid* interfaceId, void** out) {
  if (SameGuid(*interfaceId, kIID_BaseInterface)) {
    ++reinterpret_cast<XtraObjectHeader*>(self)->hostRefCount;
    *out = self;
    return kXtraOk;
  }
  HostClassRecord* record = RecordOf(self);
  return record->getInterface(reinterpret_cast<XtraObjectHeader*>(self), &record->classId, interfaceId, out);
}

uint32_t XTRA_CALL ClassAddRef(XtraUnknown* self) {
  return ++reinterpret_cast<XtraObjectHeader*>(self)->hostRefCount;
}

uint32_t XTRA_CALL ClassRelease(XtraUnknown* self) {
  auto* object = reinterpret_cast<XtraObjectHeader*>(self);
  const uint32_t count = --object->hostRefCount;
  if (count == 0) {
    HostClassRecord* record = RecordOf(self);
    XtraHost& host = *record->host;
    host.lastDestroyCode = record->destroy(object);
    delete record;
    host.Free(object);
    --host.classObjects;
  }
  return count;
}

constexpr XtraUnknownOps kClassOps = {&ClassQueryInterface, &ClassAddRef, &ClassRelease};

}  // namespace

XtraCode CreateClassObject(XtraHost& host, const XtraModule& module, const XtraGuid& classId,
                           XtraObjectHeader** out) {
  *out = nullptr;
  uint32_t size = 0;
  XtraCreateProc create = nullptr;
  XtraDestroyProc destroy = nullptr;
  XtraCode code = module.getClassForm(&classId, &size, &create, &destroy);
  if (code != kXtraOk) return code;
  if (size < sizeof(XtraObjectHeader)) size = sizeof(XtraObjectHeader);
  auto* object = static_cast<XtraObjectHeader*>(host.Allocate(size));
  if (!object) return kXtraErrNoMemory;
  object->ops = &kClassOps;
  object->callback = host.Callback();
  object->allocator = host.Allocator();
  object->hostRefCount = 1;
  object->hostContext = new HostClassRecord{&host, classId, module.getInterface, destroy};
  object->hostReserved = 0;
  code = create(object);
  if (code != kXtraOk) {
    delete static_cast<HostClassRecord*>(object->hostContext);
    host.Free(object);
    return code;
  }
  ++host.classObjects;
  *out = object;
  return kXtraOk;
}

XtraCode ReadClassInfo(XtraHost& host, const XtraModule& module, std::vector<ClassInfoEntry>* entries) {
  entries->clear();
  ClassInfoEntry* array = nullptr;
  XtraCode code = module.getClassInfo(host.Allocator(), &array);
  if (code != kXtraOk || !array) return code != kXtraOk ? code : kXtraErrNoMemory;
  static const XtraGuid kZero = {};
  for (const ClassInfoEntry* entry = array; !(SameGuid(entry->classId, kZero) && SameGuid(entry->interfaceId, kZero));
       ++entry) {
    entries->push_back(*entry);
  }
  host.Free(array);
  return kXtraOk;
}

bool FindClassWith(const std::vector<ClassInfoEntry>& entries, const XtraGuid& interfaceId, XtraGuid* classId) {
  for (const ClassInfoEntry& entry : entries) {
    if (SameGuid(entry.interfaceId, interfaceId)) {
      *classId = entry.classId;
      return true;
    }
  }
  return false;
}

XtraCode RegisterXtra(XtraHost& host, const XtraModule& module, const XtraGuid& classId) {
  XtraObjectHeader* object = nullptr;
  XtraCode code = CreateClassObject(host, module, classId, &object);
  if (code != kXtraOk) return code;
  IMoaRegister* registrar = nullptr;
  code = module.getInterface(object, &classId, &kIID_IMoaRegister, reinterpret_cast<void**>(&registrar));
  if (code == kXtraOk) {
    code = registrar->ops->Register(registrar, host.Cache(), host.XtraDictionary());
    XtraRelease(registrar);
  }
  XtraRelease(object);
  return code;
}

XtraCode CreateInstance(XtraHost& host, const XtraModule& module, const XtraGuid& classId, XtraInstance* instance) {
  *instance = XtraInstance{};
  XtraCode code = CreateClassObject(host, module, classId, &instance->object);
  if (code != kXtraOk) return code;
  code = module.getInterface(instance->object, &classId, &kIID_IMoaMmXScript,
                             reinterpret_cast<void**>(&instance->script));
  if (code != kXtraOk) {
    instance->script = nullptr;
    ReleaseInstance(instance);
  }
  return code;
}

void ReleaseInstance(XtraInstance* instance) {
  if (instance->script) XtraRelease(instance->script);
  if (instance->object) XtraRelease(instance->object);
  *instance = XtraInstance{};
}

XtraCode CallSelector(IMoaMmXScript* script, int32_t selector, const std::vector<HostValue>& lingoArgs,
                      HostValue* result, size_t declaredArguments) {
  std::vector<HostValue> args;
  args.push_back(HostValueStore::Object());
  args.insert(args.end(), lingoArgs.begin(), lingoArgs.end());
  // Lingo fills the arguments a call leaves out with Void; handlers read them unchecked.
  if (args.size() < declaredArguments) args.resize(declaredArguments, HostValueStore::Void());
  XtraCallRecord call{};
  call.selector = selector;
  call.result = *result;
  call.hostReserved2 = static_cast<uint32_t>(args.size());
  call.args = args.data();
  const XtraCode code = script->ops->Call(script, &call);
  *result = call.result;
  return code;
}

bool RunLingoLine(XtraHost& host, IMoaMmXScript* script, const MethodTable& table, const std::string& line,
                  std::string* output) {
  host.Values().Clear();
  LingoCall call;
  std::string error;
  if (!ParseLingoCall(line, &call, &error)) {
    *output = "error: " + error;
    return false;
  }
  const int selector = FindSelector(table, call.name);
  if (selector < 0) {
    *output = "error: no method " + call.name + " in the table of " + table.xtraName;
    return false;
  }
  std::vector<HostValue> args;
  for (const LingoArg& arg : call.args) args.push_back(MakeHostValue(host.Values(), arg));
  HostValue result = HostValueStore::Void();
  const XtraCode code = CallSelector(script, selector, args, &result, table.methods[size_t(selector)].argumentCount);
  *output = host.Values().Format(result);
  if (code != kXtraOk) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", unsigned(code));
    *output = "error: Call returned " + std::string(text);
    return false;
  }
  return true;
}
