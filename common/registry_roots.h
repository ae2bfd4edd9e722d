// Registry roots and value types as plain numbers (the system's own values), so code that
// only plans registry work builds without the Windows headers.
#pragma once

#include <cstdint>
#include <string>

namespace corvalis {

constexpr std::uint32_t kRootClasses = 0x80000000;
constexpr std::uint32_t kRootCurrentUser = 0x80000001;
constexpr std::uint32_t kRootLocalMachine = 0x80000002;

constexpr int kRegistryText = 1;    // REG_SZ
constexpr int kRegistryNumber = 4;  // REG_DWORD

// The root a task line names: "HKCU" or "HKLM", exactly; anything else is 0, on which
// every registry operation fails.
inline std::uint32_t TaskLineRoot(const std::string& text) {
  if (text == "HKCU") return kRootCurrentUser;
  if (text == "HKLM") return kRootLocalMachine;
  return 0;
}

// The value type a REGADDVALUE line names: "REG_SZ" or "REG_DWORD", exactly; anything
// else is 0, which no value is written as.
inline int RegistryValueType(const std::string& text) {
  if (text == "REG_SZ") return kRegistryText;
  if (text == "REG_DWORD") return kRegistryNumber;
  return 0;
}

}  // namespace corvalis
