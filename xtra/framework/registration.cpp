#include <cstdio>
#include <cstring>

#include "xtra/framework/xtra_framework.h"

namespace {
constexpr uint32_t kHeadLineBytes = 256;
}

XtraCode RegisterComposedTable(XtraObjectHeader* owner, RegistrationCache* cache, void* xtraDictionary,
                               const XtraGuid& classId, const char* xtraName, const char* tableBody,
                               uint32_t blockBytes) {
  RegistryEntryDictionary* entry = nullptr;
  XtraCode code = cache->ops->AddRegistryEntry(cache, xtraDictionary, &classId, &kIID_IMoaMmXScript, &entry);
  if (code != kXtraOk) return code;

  char headLine[kHeadLineBytes];
  std::snprintf(headLine, sizeof headLine, "xtra %s\n", xtraName);
  HostAllocator* allocator = owner->allocator;
  auto* text = static_cast<char*>(allocator->ops->Allocate(allocator, blockBytes));
  if (!text) return kXtraErrNoMemory;
  // The table is fixed and sized to fit; cutting only guards the block's end.
  std::snprintf(text, blockBytes, "%s%s", headLine, tableBody);
  code = entry->ops->Put(entry, kRegistryTypeText, text, 0, "msgTable");
  allocator->ops->Free(allocator, text);
  return code;
}

XtraCode RegisterShockwaveSafeTable(RegistrationCache* cache, void* xtraDictionary, const XtraGuid& classId,
                                    const char* table) {
  RegistryEntryDictionary* entry = nullptr;
  XtraCode code = cache->ops->AddRegistryEntry(cache, xtraDictionary, &classId, &kIID_IMoaMmXScript, &entry);
  if (code != kXtraOk) return code;
  entry->ops->Put(entry, kRegistryTypeText, table, 0, "msgTable");
  const uint8_t safe = 1;
  return entry->ops->Put(entry, kRegistryTypeBoolean, &safe, 1, "safeForShockwave");
}
