// Helpers shared by the package tests that run under Wine.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace package_test {

// A fresh folder of its own under the temporary folder, ending in "\"; removed by the
// destructor.
struct ScratchFolder {
  explicit ScratchFolder(const std::string& tag);
  ~ScratchFolder();
  std::string path;
};

struct ZipEntryInput {
  std::string storedName;  // raw bytes as stored (OEM code page, "/")
  std::string data;
  unsigned long dosDate = 0x4ECF6DDD;  // 2019-06-15 13:46:58
  unsigned long externalAttributes = 0x20;
};

// Writes a ZIP file with these entries, deflated, in this order.
bool WriteZip(const std::string& path, const std::vector<ZipEntryInput>& entries);

std::string ReadFileText(const std::string& path);
bool WriteFileText(const std::string& path, const std::string& text);
bool Exists(const std::string& path);
bool IsFolder(const std::string& path);

}  // namespace package_test
