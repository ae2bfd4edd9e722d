#include "tests/package/package_test_support.h"

#include <minizip/zip.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "common/folder_tree.h"

namespace package_test {

ScratchFolder::ScratchFolder(const std::string& tag) {
  char temp[MAX_PATH + 1] = {};
  GetTempPathA(sizeof(temp), temp);
  static int counter = 0;
  path = std::string(temp) + "pkgtest_" + tag + "_" + std::to_string(GetCurrentProcessId()) + "_" +
         std::to_string(++counter) + "\\";
  corvalis::DeleteFolderTree(path);
  CreateDirectoryA(path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { corvalis::DeleteFolderTree(path); }

bool WriteZip(const std::string& path, const std::vector<ZipEntryInput>& entries) {
  zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
  if (!zip) return false;
  bool ok = true;
  for (const ZipEntryInput& entry : entries) {
    zip_fileinfo info = {};
    info.dosDate = entry.dosDate;
    info.external_fa = entry.externalAttributes;
    ok = ok && zipOpenNewFileInZip(zip, entry.storedName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                   Z_DEFLATED, 6) == ZIP_OK;
    if (ok && !entry.data.empty())
      ok = zipWriteInFileInZip(zip, entry.data.data(), static_cast<unsigned>(entry.data.size())) == ZIP_OK;
    ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
  }
  return zipClose(zip, nullptr) == ZIP_OK && ok;
}

std::string ReadFileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool WriteFileText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace package_test
