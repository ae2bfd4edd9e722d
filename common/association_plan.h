// What a file association writes into the registry and what its removal deletes, as
// plain data. The two layouts follow the shell of the running system: the per-application
// layout under HKEY_CLASSES_ROOT on NT, the program-named class under
// HKEY_LOCAL_MACHINE\Software\Classes on Windows 9x.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/registry_roots.h"

namespace corvalis {

struct RegistryTextWrite {
  std::uint32_t Root = 0;
  std::string KeyPath;
  std::string ValueName;  // empty: the key's default value
  std::string Value;
};

struct RegistryKeyRef {
  std::uint32_t Root = 0;
  std::string KeyPath;
};

// "\"<program>\" \"%1\"": quoted, so a program path with spaces stays whole.
std::string OpenCommand(const std::string& program);

// ntLayout: bits 16 to 23 of GetVersion not all zero.
std::vector<RegistryTextWrite> AssociationWrites(const std::string& ext,
                                                 const std::string& description,
                                                 const std::string& program,
                                                 const std::string& icon, bool ntLayout);
// Keys (each with its subkeys) that undo AssociationWrites for ext and program file name app.
std::vector<RegistryKeyRef> AssociationKeys(const std::string& ext, const std::string& app,
                                            bool ntLayout);

}  // namespace corvalis
