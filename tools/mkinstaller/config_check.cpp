#include "tools/mkinstaller/config_check.h"

#include <filesystem>

#include "common/ini_file.h"
#include "common/whole_file.h"
#include "installer/config/script_check.h"
#include "installer/config/script_reader.h"
#include "installer/config/stub_texts.h"
#include "installer/package/package_layout.h"
#include "tools/mkinstaller/package_builder.h"
#include "uninstaller/uninstall_session.h"

namespace fs = std::filesystem;

namespace mkinstaller {

namespace {

constexpr int kWizardBitmapWidth = 155, kWizardBitmapHeight = 310;
constexpr int kHeaderBitmapWidth = 500, kHeaderBitmapHeight = 60;

bool StartsWithBom(const std::string& bytes) { return bytes.compare(0, 3, "\xEF\xBB\xBF") == 0; }

// UTF-8 with a character beyond ASCII: what an editor saved as UTF-8 without a signature,
// which the installer would read as ANSI ("\xC2\xB6" for the field separator).
bool LooksLikeUnsignedUtf8(const std::string& bytes) {
  if (StartsWithBom(bytes)) return false;
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) return IsUtf8(bytes);
  }
  return false;
}

std::uint32_t Le32(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

void CheckBitmap(const std::string& folder, const char* entry, int width, int height,
                 std::vector<std::string>* problems) {
  std::string bytes;
  const std::string path = folder + "/" + entry;
  if (corvalis::ReadWholeFile(path, corvalis::kMaxIniFileBytes, &bytes) != corvalis::FileRead::Ok) {
    problems->push_back(std::string(entry) + ": missing; add a " + std::to_string(width) + " x " +
                        std::to_string(height) + " BMP picture");
    return;
  }
  const bool bmp = bytes.size() >= 26 && bytes.compare(0, 2, "BM") == 0;
  const int w = bmp ? static_cast<int>(Le32(bytes, 18)) : 0;
  const int h = bmp ? static_cast<int>(Le32(bytes, 22)) : 0;
  if (!bmp || w != width || (h != height && h != -height)) {
    problems->push_back(std::string(entry) + ": " + (bmp ? std::to_string(w) + " x " + std::to_string(h < 0 ? -h : h)
                                                         : std::string("not a BMP picture")) +
                        "; the wizard shows a " + std::to_string(width) + " x " + std::to_string(height) + " BMP");
  }
}

bool HasScheme(const std::string& address) {
  const std::string lower = corvalis::ToLowerAnsi(address);
  return lower.rfind("http://", 0) == 0 || lower.rfind("https://", 0) == 0;
}

void CheckLanguage(const fs::path& file, std::vector<std::string>* problems) {
  const std::string name = std::string(corvalis::kLanguagesFolderEntry) + file.filename().string();
  std::string bytes;
  if (corvalis::ReadWholeFile(file.string(), corvalis::kMaxIniFileBytes, &bytes) != corvalis::FileRead::Ok) return;
  if (LooksLikeUnsignedUtf8(bytes)) {
    problems->push_back(name + ": UTF-8 without a signature; save it as ANSI (code page 1252) or as UTF-8 with a "
                               "signature (BOM)");
    return;
  }
  const corvalis::IniDocument language = corvalis::ParseIni(bytes);
  const struct {
    const char* group;
    int count;
  } groups[] = {{"LocalizationStub", corvalis::kStubTextCount}, {"LocalizationUninstall", corvalis::kUninstallTextCount}};
  for (const auto& group : groups) {
    std::string missing;
    int count = 0;
    const corvalis::IniGroup* texts = corvalis::FindGroup(language, group.group);
    for (int key = 0; key < group.count; ++key) {
      const std::string keyName = "Key" + std::to_string(key);
      if (texts && corvalis::FindKey(*texts, keyName)) continue;
      if (++count <= 3) missing += (missing.empty() ? "" : ", ") + keyName;
    }
    if (count > 3) missing += " and " + std::to_string(count - 3) + " more";
    if (!missing.empty()) {
      problems->push_back(name + ": [" + group.group + "] lacks " + missing + "; copy them from English@ascii.ini");
    }
  }
}

}  // namespace

std::vector<std::string> CheckConfiguration(const std::string& configFolder) {
  std::vector<std::string> problems;
  std::string bytes;
  const std::string scriptPath = configFolder + "/" + corvalis::kScriptEntry;
  if (corvalis::ReadWholeFile(scriptPath, corvalis::kMaxIniFileBytes, &bytes) != corvalis::FileRead::Ok) return problems;
  if (LooksLikeUnsignedUtf8(bytes)) {
    problems.push_back(std::string(corvalis::kScriptEntry) +
                       ": UTF-8 without a signature (the field separator \xC2\xB6 would read as two characters); "
                       "save it as ANSI (code page 1252) or as UTF-8 with a signature (BOM)");
    return problems;
  }
  for (const std::string& warning : corvalis::CheckScriptText(bytes)) {
    problems.push_back(std::string(corvalis::kScriptEntry) + " " + warning);
  }
  const corvalis::ScriptSettings script = corvalis::ReadScriptSettings(corvalis::ParseIni(bytes));
  const std::string where = std::string(corvalis::kScriptEntry) + ": ";
  std::vector<unsigned> parts;
  if (!corvalis::ParseDottedVersion(script.Version, &parts)) {
    problems.push_back(where + "Version \"" + script.Version + "\" is not dotted numbers (like 1.4 or 2.0.3, each up to 65535)");
  }
  for (const auto& address : {std::make_pair("Website", script.Website),
                              std::make_pair("RunIfDepNotFound", script.RunIfDepNotFound)}) {
    if (!address.second.empty() && !HasScheme(address.second)) {
      problems.push_back(where + address.first + " \"" + address.second + "\" needs its scheme: http:// or https://");
    }
  }
  if (!(script.IconExtUninst == 1 && script.IconExtCustom == 0) && !(script.IconExtUninst == 0 && script.IconExtCustom == 1)) {
    problems.push_back(where + "no uninstall entry (the list of installed programs); set IconExtUninst = 1 and "
                               "IconExtCustom = 0, or IconExtCustom = 1 with IconExtPath");
  }
  const struct {
    bool needed;
    const char* entry;
    const char* key;
  } texts[] = {{script.RequireLicense == "1", corvalis::kLicenseEntry, "RequireLicense"},
               {script.RequireReadme == "1", corvalis::kReadMeEntry, "RequireReadme"}};
  for (const auto& text : texts) {
    if (text.needed && !fs::is_regular_file(configFolder + "/" + text.entry)) {
      problems.push_back(std::string(text.entry) + ": missing, and " + text.key + " = 1 shows it; add the file or set " +
                         text.key + " = 0");
    }
  }
  CheckBitmap(configFolder, corvalis::kWizardBitmapEntry, kWizardBitmapWidth, kWizardBitmapHeight, &problems);
  CheckBitmap(configFolder, corvalis::kHeaderBitmapEntry, kHeaderBitmapWidth, kHeaderBitmapHeight, &problems);
  std::error_code ec;
  for (const auto& item : fs::directory_iterator(fs::path(configFolder) / corvalis::kLanguagesFolderEntry, ec)) {
    if (item.is_regular_file() && corvalis::ToLowerAnsi(item.path().extension().string()) == ".ini") {
      CheckLanguage(item.path(), &problems);
    }
  }
  return problems;
}

}  // namespace mkinstaller
