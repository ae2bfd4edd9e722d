#include <cstring>

#include "xtra/framework/xtra_framework.h"

namespace {

constexpr uint32_t kHeadLineBytes = 256;

// Appends what fits of text to the NUL-ended contents of a block of blockBytes (> 0).
// A few lines instead of snprintf, whose formatting engine would double the Xtra's size.
void AppendCut(char* block, uint32_t blockBytes, const char* text) {
  const size_t used = std::strlen(block);
  size_t length = std::strlen(text);
  if (length > blockBytes - 1 - used) length = blockBytes - 1 - used;
  std::memcpy(block + used, text, length);
  block[used + length] = '\0';
}

}  // namespace

XtraCode RegisterComposedTable(XtraObjectHeader* owner, RegistrationCache* cache, void* xtraDictionary,
                               const XtraGuid& classId, const char* xtraName, const char* tableBody,
                               uint32_t blockBytes) {
  RegistryEntryDictionary* entry = nullptr;
  XtraCode code = cache->ops->AddRegistryEntry(cache, xtraDictionary, &classId, &kIID_IMoaMmXScript, &entry);
  if (code != kXtraOk) return code;

  char headLine[kHeadLineBytes] = "xtra ";
  AppendCut(headLine, kHeadLineBytes, xtraName);
  AppendCut(headLine, kHeadLineBytes, "\n");
  HostAllocator* allocator = owner->allocator;
  auto* text = blockBytes ? static_cast<char*>(allocator->ops->Allocate(allocator, blockBytes)) : nullptr;
  if (!text) return kXtraErrNoMemory;
  // The table is fixed and sized to fit; cutting only guards the block's end.
  text[0] = '\0';
  AppendCut(text, blockBytes, headLine);
  AppendCut(text, blockBytes, tableBody);
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
