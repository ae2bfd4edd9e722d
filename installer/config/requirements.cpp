#include "installer/config/requirements.h"

#include "installer/config/ini_file.h"

namespace corvalis {

int OsRefusalMessageKey(int osVersionCode, const ScriptSettings& settings) {
  const std::string* forbidding = nullptr;
  switch (osVersionCode) {
    case 5:
    case 10: return 4;
    case 20: forbidding = &settings.WNT; break;
    case 30: forbidding = &settings.W98; break;
    case 40: forbidding = &settings.WME; break;
    case 50: forbidding = &settings.W2K; break;
    case 60: forbidding = &settings.WXP; break;
    case 65:
    case 70: forbidding = &settings.WV; break;
    default: return 0;
  }
  return *forbidding == "0" ? 5 : 0;
}

std::string RequiredFrameworkVersion(const std::string& dotNet) {
  if (dotNet == "1") return "1.0";
  if (dotNet == "2") return "1.1";
  if (dotNet == "3") return "2.0";
  if (dotNet == "4") return "3.0";
  if (dotNet == "5") return "3.5";
  return std::string();
}

std::string FrameworkMissingMessage(const std::string& key6, const std::string& version) {
  return key6 + " " + version + ".";
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
  std::string part = folderName.substr(1, 3);
  std::size_t first = part.find_first_not_of(' ');
  part = first == std::string::npos ? std::string()
                                    : part.substr(first, part.find_last_not_of(' ') - first + 1);
  return part == version;
}

}  // namespace corvalis
