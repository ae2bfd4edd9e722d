#include "installer/config/requirements.h"

#include "common/ini_file.h"
#include "common/os_family.h"
#include "installer/config/language_texts.h"

namespace corvalis {

int OsRefusalMessageKey(int osVersionCode, const ScriptSettings& settings) {
  const std::string* forbidding = nullptr;
  switch (osVersionCode) {
    case kOsNt3:
    case kOsWindows95: return kTextUnsupportedSystem;
    case kOsNt4: forbidding = &settings.WNT; break;
    case kOsWindows98: forbidding = &settings.W98; break;
    case kOsWindowsMe: forbidding = &settings.WME; break;
    case kOsWindows2000: forbidding = &settings.W2K; break;
    case kOsWindowsXp: forbidding = &settings.WXP; break;
    case kOsServer2003:
    case kOsVistaWorkstation: forbidding = &settings.WV; break;
    default: return 0;
  }
  return *forbidding == "0" ? kTextSystemExcluded : 0;
}

std::string RequiredFrameworkVersion(const std::string& dotNet) {
  if (dotNet == "1") return "1.0";
  if (dotNet == "2") return "1.1";
  if (dotNet == "3") return "2.0";
  if (dotNet == "4") return "3.0";
  if (dotNet == "5") return "3.5";
  return std::string();
}

std::string FrameworkMissingMessage(const std::string& missingText, const std::string& version) {
  return missingText + " " + version + ".";
}

std::string DependencyAddressToOpen(const std::string& runIfDepNotFound) {
  const std::string lower = ToLowerAnsi(runIfDepNotFound);
  if (runIfDepNotFound.empty() || lower == "http://") return std::string();
  // A secure address already names its scheme; "http://https://..." would lead nowhere.
  if (lower.compare(0, 7, "http://") == 0 || lower.compare(0, 8, "https://") == 0) {
    return runIfDepNotFound;
  }
  return "http://" + runIfDepNotFound;
}

bool FrameworkFolderMatches(const std::string& folderName, const std::string& version) {
  if (folderName.size() < 2) return false;
  return TrimSpaces(folderName.substr(1, 3)) == version;
}

}  // namespace corvalis
