// Reading back what an installation left on the system: for the end-to-end tests and
// for the main job's driver, which prints it.
#pragma once

#include <windows.h>

#include <string>

namespace installer_e2e {

// The system's list of installed programs below HKEY_LOCAL_MACHINE, ending in "\".
constexpr char kUninstallList[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// A value as text (a number in decimal); "<no key>" or "<none>" when it isn't there.
std::string RegistryValue(HKEY root, const std::string& key, const std::string& name);
bool KeyExists(HKEY root, const std::string& key);

struct LinkInfo {
  std::string target, workingFolder, iconFile;
  int iconIndex = -1;
};
// Empty fields when the shortcut can't be read.
LinkInfo ReadShellLink(const std::string& path);

}  // namespace installer_e2e
