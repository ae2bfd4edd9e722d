#include <cstring>

#include "xtra/framework/xtra_framework.h"

namespace {

// A visitor's private "found it" that ends a walk whose own result is success.
constexpr XtraCode kStopWalk = 1;

struct ClassFormSearch {
  uint32_t* objectSize;
  XtraCreateProc* create;
  XtraDestroyProc* destroy;
};

XtraCode TakeClassForm(void* context, const XtraClassEntry& entry) {
  auto* search = static_cast<ClassFormSearch*>(context);
  *search->objectSize = entry.objectSize;
  *search->create = entry.create;
  *search->destroy = entry.destroy;
  return kStopWalk;
}

struct InterfaceSearch {
  XtraObjectHeader* classObject;
  const XtraGuid* interfaceId;
  void** out;
  XtraCode creatorCode;
};

XtraCode CreateMatchingInterface(void* context, const XtraClassEntry&, const XtraInterfaceEntry& iface) {
  auto* search = static_cast<InterfaceSearch*>(context);
  if (!SameGuid(*iface.interfaceId, *search->interfaceId)) return 0;
  search->creatorCode = iface.creator(search->classObject, search->out);
  return kStopWalk;
}

XtraCode CountClass(void* context, const XtraClassEntry&) {
  ++*static_cast<uint32_t*>(context);
  return 0;
}

XtraCode CountInterface(void* context, const XtraClassEntry&, const XtraInterfaceEntry&) {
  ++*static_cast<uint32_t*>(context);
  return 0;
}

XtraCode FillClassEntry(void* context, const XtraClassEntry& entry) {
  auto** next = static_cast<ClassInfoEntry**>(context);
  ClassInfoEntry* info = (*next)++;
  info->classId = *entry.classId;
  info->classVersion = entry.version;
  info->interfaceId = kIID_BaseInterface;
  info->interfaceVersion = kBaseInterfaceVersion;
  return 0;
}

XtraCode FillInterfaceEntry(void* context, const XtraClassEntry& entry, const XtraInterfaceEntry& iface) {
  auto** next = static_cast<ClassInfoEntry**>(context);
  ClassInfoEntry* info = (*next)++;
  info->classId = *entry.classId;
  info->classVersion = entry.version;
  info->interfaceId = *iface.interfaceId;
  info->interfaceVersion = iface.version;
  return 0;
}

}  // namespace

XtraCode WalkClassTable(const XtraClassTable& table, const XtraGuid* classFilter,
                        XtraClassVisitor classVisitor, XtraInterfaceVisitor interfaceVisitor,
                        void* context) {
  for (uint32_t c = 0; c < table.classCount; ++c) {
    const XtraClassEntry& entry = table.classes[c];
    if (classFilter && !SameGuid(*classFilter, *entry.classId)) continue;
    if (classVisitor) {
      if (XtraCode code = classVisitor(context, entry)) return code;
    }
    if (!interfaceVisitor) continue;
    for (uint32_t i = 0; i < entry.interfaceCount; ++i) {
      if (XtraCode code = interfaceVisitor(context, entry, entry.interfaces[i])) return code;
    }
  }
  return 0;
}

XtraCode GetClassForm(const XtraClassTable& table, const XtraGuid* classId, uint32_t* objectSize,
                      XtraCreateProc* create, XtraDestroyProc* destroy) {
  ClassFormSearch search{objectSize, create, destroy};
  if (WalkClassTable(table, classId, &TakeClassForm, nullptr, &search) == kStopWalk) return kXtraOk;
  return kXtraErrNoClass;
}

XtraCode GetInterface(const XtraClassTable& table, XtraObjectHeader* classObject, const XtraGuid* classId,
                      const XtraGuid* interfaceId, void** out) {
  if (!interfaceId) return kXtraErrNoInterface;
  InterfaceSearch search{classObject, interfaceId, out, 0};
  if (WalkClassTable(table, classId, nullptr, &CreateMatchingInterface, &search) == kStopWalk) {
    return search.creatorCode;
  }
  return kXtraErrNoInterface;
}

XtraCode GetClassInfo(const XtraClassTable& table, HostAllocator* allocator, ClassInfoEntry** out) {
  uint32_t count = 0;
  WalkClassTable(table, nullptr, &CountClass, &CountInterface, &count);
  auto* entries = static_cast<ClassInfoEntry*>(allocator->ops->Allocate(allocator, (count + 1) * sizeof(ClassInfoEntry)));
  *out = entries;
  if (!entries) return kXtraErrNoMemory;
  ClassInfoEntry* next = entries;
  WalkClassTable(table, nullptr, &FillClassEntry, &FillInterfaceEntry, &next);
  std::memset(&next->classId, 0, sizeof(XtraGuid));
  std::memset(&next->interfaceId, 0, sizeof(XtraGuid));
  return kXtraOk;
}
