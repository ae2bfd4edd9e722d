// The system-requirement checks against the running system.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "installer/config/requirements.h"
#include "installer/config/setup_steps.h"
#include "installer/install_session.h"
#include "installer/package/work_folder.h"

namespace corvalis {

namespace {

std::string WindowsFolder() {
  LPITEMIDLIST list = nullptr;
  if (SHGetSpecialFolderLocation(nullptr, CSIDL_WINDOWS, &list) != S_OK || !list) {
    return std::string();
  }
  char path[MAX_PATH] = "";
  BOOL ok = SHGetPathFromIDListA(list, path);
  CoTaskMemFree(list);
  return ok ? std::string(path) : std::string();
}

}  // namespace

bool IsFrameworkInstalled(const std::string& version) {
  std::string folder = WindowsFolder();
  if (folder.empty()) return false;
  if (folder.back() != '\\') folder += '\\';
  folder += "Microsoft.NET\\Framework\\";

  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool installed = false;
  do {
    const std::string name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..") {
      installed = FrameworkFolderMatches(name, version);
    }
  } while (!installed && FindNextFileA(search, &found));
  FindClose(search);
  return installed;
}

void CheckRequirements() {
  InstallSession& session = Session();
  const ScriptSettings& script = session.ScriptSettings;

  if (int key = OsRefusalMessageKey(session.OsVersionCode, script)) {
    FailWithMessage(session.StubTexts[key]);
  }

  const std::string version = RequiredFrameworkVersion(script.DotNet);
  if (version.empty() || IsFrameworkInstalled(version)) return;
  MessageBoxA(nullptr, FrameworkMissingMessage(session.StubTexts[6], version).c_str(),
              session.StubTexts[0].c_str(), MB_OK | MB_ICONSTOP);
  const std::string address = DependencyAddressToOpen(script.RunIfDepNotFound);
  if (!address.empty()) {
    ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
  AbortInstaller();
}

}  // namespace corvalis
