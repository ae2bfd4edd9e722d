#include "installer/config/script_reader.h"

namespace corvalis {

ScriptSettings ReadScriptSettings(const IniDocument& script) {
  auto text = [&](const char* group, const char* key) {
    return GetIniValue(script, group, key);
  };
  auto number = [&](const char* group, const char* key) {
    return static_cast<int>(ParseInteger(GetIniValue(script, group, key)));
  };

  ScriptSettings s;
  const char* general = "GeneralInformation";
  s.AppName = text(general, "AppName");
  s.Version = text(general, "Version");
  s.CompanyName = text(general, "CompanyName");
  s.Website = text(general, "Website");
  s.Email = text(general, "Email");
  s.W98 = text(general, "W98");
  s.WME = text(general, "WME");
  s.WNT = text(general, "WNT");
  s.W2K = text(general, "W2K");
  s.WXP = text(general, "WXP");
  s.WV = text(general, "WV");
  s.DotNet = text(general, "DotNet");
  s.RunIfDepNotFound = text(general, "RunIfDepNotFound");

  s.HeaderTextColour = number("Look", "HeaderTextColour");

  s.RequireReadme = text("FilesAndSettings", "RequireReadme");
  s.RequireLicense = text("FilesAndSettings", "RequireLicense");

  s.InstTasks = ReadTaskList(script, "InstTasks");
  s.UninstTasks = ReadTaskList(script, "UninstTasks");

  s.UninstRebootRequired = number("uConfig", "RebootRequired");
  s.SkipExtString = text("uConfig", "SkipExtString");
  s.IconExtUninst = number("uConfig", "IconExtUninst");
  s.IconExtCustom = number("uConfig", "IconExtCustom");
  s.IconExtPath = text("uConfig", "IconExtPath");
  s.IconExtIndex = number("uConfig", "IconExtIndex");

  s.RebootRequired = number("iConfig", "RebootRequired");
  s.PathChangeable = number("iConfig", "PathChangeable");
  s.DefaultPath = text("iConfig", "DefaultPath");
  s.AutoCreateStartMenu = number("iConfig", "AutoCreateStartMenu");
  s.CreateInternetLink = number("iConfig", "CreateInternetLink");
  s.CreateUninstallLink = number("iConfig", "CreateUninstallLink");
  s.ForceGroupCreation = number("iConfig", "ForceGroupCreation");
  return s;
}

bool ParseStatistics(const std::string& bytes, std::uint64_t* requiredSpace) {
  if (bytes.size() < 8) return false;
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[i]);
  *requiredSpace = value;
  return true;
}

}  // namespace corvalis
