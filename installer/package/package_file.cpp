#include "installer/package/package_file.h"

#include "common/special_folders.h"
#include "installer/package/messages.h"
#include "installer/package/package_layout.h"
#include "installer/package/progress_window.h"
#include "installer/package/unique_names.h"
#include "installer/work_folder.h"

namespace corvalis {

namespace {

[[noreturn]] void Fail(HWND owner, const char* text) {
  ShowPackageError(owner, text);
  AbortInstaller();
}

std::string OwnModulePath() {
  char path[MAX_PATH * 2] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
  return std::string(path, length);
}

}  // namespace

PackageFile OpenOwnPackage(HWND owner, bool countInfoArchive) {
  PackageFile package;
  package.file = CreateFileA(OwnModulePath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (package.file == INVALID_HANDLE_VALUE) Fail(owner, kCannotReadPackageText);

  LARGE_INTEGER size = {};
  GetFileSizeEx(package.file, &size);
  package.fileBytes = size.QuadPart;
  unsigned char tail[kTrailerBytes] = {};
  DWORD tailBytes = static_cast<DWORD>(package.fileBytes < kTrailerBytes ? package.fileBytes : kTrailerBytes);
  LARGE_INTEGER tailStart;
  tailStart.QuadPart = package.fileBytes - tailBytes;
  DWORD read = 0;
  if (!SetFilePointerEx(package.file, tailStart, nullptr, FILE_BEGIN) ||
      !ReadFile(package.file, tail, tailBytes, &read, nullptr))
    read = 0;
  package.trailer = ParseTrailer(tail, read, package.fileBytes);
  if (package.trailer.status == TrailerStatus::NoEndMarker) Fail(owner, kIncompletePackageText);
  if (package.trailer.status == TrailerStatus::Corrupted) Fail(owner, kCorruptedPackageText);

  std::uint64_t available = 0;
  const bool queryOk = FreeSpaceOfDrive(TemporaryFolder(), &available);
  std::uint64_t needed = package.trailer.programBytes;
  if (countInfoArchive) needed += package.trailer.infoBytes;
  if (!HasRoomFor(queryOk, available, needed)) Fail(owner, kNoFreeSpaceText);
  return package;
}

HANDLE CreateOutputFile(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

void FailTemporaryFile(HWND owner, const std::string& path) {
  ShowPackageError(owner, (std::string(kCannotCreateTempFileText) + path).c_str());
  AbortInstaller();
}

}  // namespace corvalis
