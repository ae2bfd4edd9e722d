#include "common/private_folder.h"

#include <windows.h>
#include <sddl.h>

namespace corvalis {

void* BuildPrivateFolderDescriptor() {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kPrivateFolderSddl, SDDL_REVISION_1, &descriptor,
                                                            nullptr)) {
    return nullptr;
  }
  return descriptor;
}

bool CreatePrivateFolder(const std::string& folder) {
  void* descriptor = BuildPrivateFolderDescriptor();
  if (!descriptor) return false;
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor, FALSE};
  const BOOL created = CreateDirectoryA(folder.c_str(), &attributes);
  LocalFree(descriptor);
  return created != 0;
}

}  // namespace corvalis
