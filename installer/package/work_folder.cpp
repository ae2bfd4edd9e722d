#include "installer/package/work_folder.h"

#include <windows.h>

#include "installer/install_session.h"
#include "installer/package/unique_names.h"

namespace corvalis {

InstallSession& Session() {
  static InstallSession session;
  return session;
}

void DeleteFolderTree(const std::string& folder) {
  const std::string base = WithTrailingBackslash(folder);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((base + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = base + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteFolderTree(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  SetFileAttributesA(base.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(base.c_str());
}

void RemoveWorkFolder() {
  if (!Session().WorkFolder.empty()) DeleteFolderTree(Session().WorkFolder);
}

void AbortInstaller() {
  RemoveWorkFolder();
  ExitProcess(0);
}

}  // namespace corvalis
