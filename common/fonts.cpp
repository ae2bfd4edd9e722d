#include <windows.h>

#include "common/ansi_text.h"
#include "common/operations_settings.h"
#include "common/system_operations.h"

namespace corvalis {
namespace {

constexpr UINT kFontChangeWaitMs = 5000;

std::string WindowsFolder() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = GetEnvironmentVariableA("windir", buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer) : std::string();
}

}  // namespace

int InstallFont(const std::string& fontName, const std::string& fontFile) {
  if (AddFontResourceA(fontFile.c_str()) == 0) return 0;
  const std::string fileName = FileNamePart(fontFile);
  const std::string windows = WindowsFolder();
  if (windows.empty()) return 0;
  const std::string destination = windows + "\\Fonts\\" + fileName;
  if (!CopyFileA(fontFile.c_str(), destination.c_str(), FALSE)) return 0;

  // A hung top-level window must not stall the installation.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_FONTCHANGE, 0, 0, SMTO_ABORTIFHUNG, kFontChangeWaitMs,
                      &ignored);

  const char* key = Is9xFamily(Operations().OsVersionCode)
                        ? "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Fonts"
                        : "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
  return SetRegistryValue(HKEY_LOCAL_MACHINE, key, fontName, fileName, REG_SZ, "");
}

}  // namespace corvalis
