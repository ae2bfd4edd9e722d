#include <windows.h>

#include "common/system_operations.h"

namespace corvalis {

int WriteWholeFile(const std::string& path, const std::string& bytes, unsigned long* error) {
  unsigned long ignored = 0;
  unsigned long& reason = error ? *error : ignored;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    reason = GetLastError();
    return 0;
  }
  DWORD written = 0;
  bool whole = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
               written == bytes.size();
  reason = whole ? ERROR_SUCCESS : GetLastError();
  // A volume that fills up may take the data into its cache and refuse it only at the close.
  if (!CloseHandle(file) && whole) {
    whole = false;
    reason = GetLastError();
  }
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (whole && (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) || data.nFileSizeHigh != 0 ||
                data.nFileSizeLow != bytes.size())) {
    whole = false;
    reason = GetLastError();
  }
  if (whole) return 1;
  if (reason == ERROR_SUCCESS) reason = ERROR_DISK_FULL;  // cut short without a word
  DeleteFileA(path.c_str());
  return 0;
}

bool PathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace corvalis
