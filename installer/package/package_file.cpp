#include "installer/package/package_file.h"

#include "common/exit_codes.h"
#include "common/special_folders.h"
#include "installer/package/certificate_table.h"
#include "installer/package/messages.h"
#include "installer/package/package_layout.h"
#include "installer/package/progress_window.h"
#include "common/unique_names.h"

namespace corvalis {

namespace {

Outcome Fail(HWND owner, const char* text, int exitCode = kExitFailure) {
  ShowPackageError(owner, text);
  return EndRun(exitCode);
}

class HandleReader : public ByteReader {
 public:
  explicit HandleReader(const PackageFile& package) : package_(package) {}
  bool ReadAt(std::int64_t offset, unsigned char* out, std::size_t bytes) override {
    return ReadPackageAt(package_, offset, out, bytes);
  }

 private:
  const PackageFile& package_;
};

}  // namespace

bool ReadPackageAt(const PackageFile& package, std::int64_t offset, void* out, std::size_t bytes) {
  LARGE_INTEGER position;
  position.QuadPart = offset;
  DWORD read = 0;
  return SetFilePointerEx(package.file, position, nullptr, FILE_BEGIN) &&
         ReadFile(package.file, out, static_cast<DWORD>(bytes), &read, nullptr) && read == bytes;
}

Outcome OpenOwnPackage(HWND owner, bool countInfoArchive, PackageFile* opened) {
  PackageFile& package = *opened;
  package.file = CreateFileA(OwnProgramPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (package.file == INVALID_HANDLE_VALUE) return Fail(owner, kCannotReadPackageText);

  LARGE_INTEGER size = {};
  GetFileSizeEx(package.file, &size);
  HandleReader reader(package);
  package.packageEnd = PackageEnd(reader, size.QuadPart);
  unsigned char tail[kTrailerBytes] = {};
  const std::size_t tailBytes = package.packageEnd < kTrailerBytes ? std::size_t(package.packageEnd) : std::size_t(kTrailerBytes);
  const std::size_t read = reader.ReadAt(package.packageEnd - tailBytes, tail, tailBytes) ? tailBytes : 0;
  package.trailer = ParseTrailer(tail, read, package.packageEnd);
  if (package.trailer.status == TrailerStatus::NoEndMarker) return Fail(owner, kIncompletePackageText);
  if (package.trailer.status == TrailerStatus::Corrupted) return Fail(owner, kCorruptedPackageText);

  std::uint64_t available = 0;
  const bool queryOk = FreeSpaceOfDrive(TemporaryFolder(), &available);
  std::uint64_t needed = package.trailer.programBytes;
  if (countInfoArchive) needed += package.trailer.infoBytes;
  if (!HasRoomFor(queryOk, available, needed)) return Fail(owner, kNoFreeSpaceText, kExitNoDiskSpace);
  return kGoOn;
}

HANDLE CreateOutputFile(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

Outcome FailTemporaryFile(HWND owner, const std::string& path, unsigned long error) {
  ShowPackageError(owner, (std::string(kCannotCreateTempFileText) + path).c_str());
  return EndRun(WriteFailureExitCode(error));
}

}  // namespace corvalis
