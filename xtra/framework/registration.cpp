#include <cstring>

#include "xtra/framework/xtra_framework.h"

namespace {

constexpr uint32_t kHeadLineBytes = 256;

// Appends as much of text as fits, keeping the block terminated.
void Append(char* block, uint32_t blockBytes, const char* text) {
  size_t length = std::strlen(block);
  while (*text && length + 1 < blockBytes) block[length++] = *text++;
  block[length] = '\0';
}

}  // namespace

XtraCode RegisterComposedTable(XtraObjectHeader* owner, RegistrationCache* cache, void* xtraDictionary,
                               const XtraGuid& classId, const char* xtraName, const char* tableBody,
                               uint32_t blockBytes) {
  RegistryEntryDictionary* entry = nullptr;
  XtraCode code = cache->ops->AddRegistryEntry(cache, xtraDictionary, &classId, &kIID_IMoaMmXScript, &entry);
  if (code != kXtraOk) return code;

  char headLine[kHeadLineBytes] = "";
  Append(headLine, kHeadLineBytes, "xtra ");
  Append(headLine, kHeadLineBytes, xtraName);
  Append(headLine, kHeadLineBytes, "\n");
  HostAllocator* allocator = owner->allocator;
  auto* text = static_cast<char*>(allocator->ops->Allocate(allocator, blockBytes));
  if (!text) return kXtraErrNoMemory;
  // The table is fixed and sized to fit; cutting only guards the block's end.
  text[0] = '\0';
  Append(text, blockBytes, headLine);
  Append(text, blockBytes, tableBody);
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
