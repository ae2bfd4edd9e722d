#include <windows.h>
#include <shlobj.h>

#include "common/association_plan.h"
#include "common/os_family.h"
#include "common/system_operations.h"

namespace corvalis {

int AssociateExtension(const std::string& ext, const std::string& description,
                       const std::string& program, const std::string& icon) {
  for (const RegistryTextWrite& write :
       AssociationWrites(ext, description, program, icon, VersionBuildBitsSet())) {
    WriteRegistryValue(RootKey(write.Root), write.KeyPath, write.ValueName, write.Value, REG_SZ,
                       "");
  }
  return 1;
}

int DisassociateExtension(const std::string& ext, const std::string& app) {
  if (ext.empty() || app.empty()) return 0;
  for (const RegistryKeyRef& key : AssociationKeys(ext, app, VersionBuildBitsSet())) {
    DeleteRegistryTree(RootKey(key.Root), key.KeyPath, "");
  }
  return 1;
}

void NotifyAssociationsChanged() { SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr); }

}  // namespace corvalis
