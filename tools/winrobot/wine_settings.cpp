#include "tools/winrobot/robot_internal.h"
#include "tools/winrobot/winrobot.h"

namespace winrobot {

bool SetWineVersion(const std::string& exeName, const std::string& version) {
  ClearError();
  if (exeName.empty() || exeName.find('\\') != std::string::npos) {
    return Fail("a program's file name is needed, got " + Quote(exeName));
  }
  const std::string parent = "Software\\Wine\\AppDefaults";
  const std::string path = parent + "\\" + exeName;
  if (version.empty()) {
    HKEY key = nullptr;
    LONG opened = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &key);
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return Fail("can't open HKCU\\" + path + " (error " + std::to_string(opened) + ")");
    LONG deleted = RegDeleteValueA(key, "Version");
    RegCloseKey(key);
    if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND) {
      return Fail("can't delete Version under HKCU\\" + path + " (error " + std::to_string(deleted) + ")");
    }
    // Other per-program settings may live in the same key; it goes only when empty.
    HKEY parentKey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, parent.c_str(), 0, KEY_ALL_ACCESS, &parentKey) == ERROR_SUCCESS) {
      HKEY probe = nullptr;
      if (RegOpenKeyExA(parentKey, exeName.c_str(), 0, KEY_QUERY_VALUE, &probe) == ERROR_SUCCESS) {
        DWORD subKeys = 0;
        DWORD values = 0;
        bool empty = RegQueryInfoKeyA(probe, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                                      nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                     subKeys == 0 && values == 0;
        RegCloseKey(probe);
        if (empty) RegDeleteKeyA(parentKey, exeName.c_str());
      }
      RegCloseKey(parentKey);
    }
    return true;
  }
  HKEY key = nullptr;
  LONG created = RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                 nullptr, &key, nullptr);
  if (created != ERROR_SUCCESS) return Fail("can't create HKCU\\" + path + " (error " + std::to_string(created) + ")");
  LONG set = RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                            static_cast<DWORD>(version.size() + 1));
  RegCloseKey(key);
  if (set != ERROR_SUCCESS) return Fail("can't write Version under HKCU\\" + path + " (error " + std::to_string(set) + ")");
  return true;
}

}  // namespace winrobot
