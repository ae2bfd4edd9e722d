#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "common/ansi_text.h"
#include "common/system_operations.h"

namespace corvalis {
namespace {

// The shell link's class and interfaces. Spelled here rather than linked from the uuid
// library, whose one object of every known identifier would add 40 KB to each program.
constexpr GUID kShellLinkClass = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID kShellLinkInterface = {0x000214EE, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID kPersistFileInterface = {0x0000010B, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

}  // namespace

int CreateShellLink(const std::string& target, const std::string& linkPath,
                    const std::string& arguments, const std::string& description,
                    const std::string& workingFolder, int showCommand, WORD hotKey,
                    const std::string& iconFile, int iconIndex) {
  const std::string folder = workingFolder.empty() ? FolderPart(target) : workingFolder;
  const std::string icon = iconFile.empty() ? target : iconFile;
  std::string path = linkPath;
  if (!EndsWithNoCase(path, ".lnk")) path += ".lnk";

  const HRESULT init = CoInitialize(nullptr);
  if (init != S_OK && init != S_FALSE) return 0;

  int result = 0;
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkInterface,
                                 reinterpret_cast<void**>(&link))) &&
      link) {
    link->SetPath(target.c_str());
    link->SetArguments(arguments.c_str());
    link->SetWorkingDirectory(folder.c_str());
    link->SetDescription(description.c_str());
    link->SetShowCmd(showCommand);
    link->SetHotkey(hotKey);
    link->SetIconLocation(icon.c_str(), iconIndex);
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(kPersistFileInterface, reinterpret_cast<void**>(&file))) &&
        file) {
      wchar_t widePath[MAX_PATH + 1] = {};
      MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
      // A link that couldn't be written (say, into a missing folder) is not a success.
      result = file->Save(widePath, TRUE) == S_OK ? 1 : 0;
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return result;
}

int CreateInternetShortcut(const std::string& url, const std::string& filePath) {
  return WriteWholeFile(filePath, "[InternetShortcut]\r\nURL=" + url + "\r\n");
}

}  // namespace corvalis
