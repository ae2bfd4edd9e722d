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
  const char* general = kScriptGeneralGroup;
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

  s.HeaderTextColour = number(kScriptLookGroup, "HeaderTextColour");

  s.RequireReadme = text(kScriptFilesGroup, "RequireReadme");
  s.RequireLicense = text(kScriptFilesGroup, "RequireLicense");

  s.InstTasks = ReadTaskList(script, kScriptInstTasksGroup);
  s.UninstTasks = ReadTaskList(script, kScriptUninstTasksGroup);

  s.UninstRebootRequired = number(kScriptUninstallConfigGroup, "RebootRequired");
  s.SkipExtString = text(kScriptUninstallConfigGroup, "SkipExtString");
  s.IconExtUninst = number(kScriptUninstallConfigGroup, "IconExtUninst");
  s.IconExtCustom = number(kScriptUninstallConfigGroup, "IconExtCustom");
  s.IconExtPath = text(kScriptUninstallConfigGroup, "IconExtPath");
  s.IconExtIndex = number(kScriptUninstallConfigGroup, "IconExtIndex");

  s.RebootRequired = number(kScriptInstallConfigGroup, "RebootRequired");
  s.PathChangeable = number(kScriptInstallConfigGroup, "PathChangeable");
  s.DefaultPath = text(kScriptInstallConfigGroup, "DefaultPath");
  s.AutoCreateStartMenu = number(kScriptInstallConfigGroup, "AutoCreateStartMenu");
  s.CreateInternetLink = number(kScriptInstallConfigGroup, "CreateInternetLink");
  s.CreateUninstallLink = number(kScriptInstallConfigGroup, "CreateUninstallLink");
  s.ForceGroupCreation = number(kScriptInstallConfigGroup, "ForceGroupCreation");
  return s;
}

bool ParseStatistics(const std::string& bytes, std::uint64_t* requiredSpace) {
  if (bytes.size() < 8) return false;
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[i]);
  *requiredSpace = value;
  return true;
}

std::string WriteStatistics(std::uint64_t requiredSpace) {
  std::string bytes(8, '\0');
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>(requiredSpace >> (8 * i));
  return bytes;
}

}  // namespace corvalis
