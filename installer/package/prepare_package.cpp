#include "installer/package/prepare_package.h"

#include <windows.h>

#include <random>

#include "common/ansi_text.h"
#include "common/long_paths.h"
#include "common/private_folder.h"
#include "common/exit_codes.h"
#include "common/special_folders.h"
#include "common/system_operations.h"
#include "installer/install_session.h"
#include "installer/package/archive_reader.h"
#include "installer/package/copy_file_range.h"
#include "installer/package/extract_archive.h"
#include "installer/package/language_list.h"
#include "installer/package/messages.h"
#include "installer/package/package_file.h"
#include "installer/package/package_layout.h"
#include "installer/package/progress_window.h"
#include "common/unique_names.h"
#include "common/run_log.h"
#include "common/whole_file.h"

namespace corvalis {

namespace {

std::uint32_t RandomSeed() {
  LARGE_INTEGER counter = {};
  QueryPerformanceCounter(&counter);
  return static_cast<std::uint32_t>(counter.QuadPart) ^ (GetCurrentProcessId() << 16) ^ GetTickCount();
}

FolderAttempt TryCreateFolder(const std::string& folder) {
  if (CreateDirectoryA(folder.c_str(), nullptr)) return FolderAttempt::Created;
  return GetLastError() == ERROR_ALREADY_EXISTS ? FolderAttempt::Exists : FolderAttempt::Failed;
}

FolderAttempt TryCreatePrivateFolder(const std::string& folder) {
  if (CreatePrivateFolder(folder)) return FolderAttempt::Created;
  return GetLastError() == ERROR_ALREADY_EXISTS ? FolderAttempt::Exists : FolderAttempt::Failed;
}

// The progress callback of the big copy: a confirmed Cancel stops it.
CopyProgress CancellableProgress(const ProgressWindow& window) {
  return [window](int percent) {
    return !StepProgressWindow(window, percent) || !ConfirmCancelBeforeLanguage(window.window);
  };
}

// Copies `bytes` of the package from `offset` into a new file at path; a file that can't
// be made or written whole ends the run with its message. cancellable: the window's Cancel
// may end the run during the copy.
Outcome CopyArchiveOut(const ProgressWindow& progress, const PackageFile& package, std::int64_t offset,
                       std::uint32_t bytes, const std::string& path, bool cancellable) {
  HANDLE target = CreateOutputFile(path);
  if (target == INVALID_HANDLE_VALUE) return FailTemporaryFile(progress.window, path, GetLastError());
  DWORD error = 0;
  const CopyResult copied =
      CopyFileRange(package.file, target, static_cast<std::int32_t>(offset), static_cast<std::int32_t>(bytes),
                    cancellable ? CancellableProgress(progress) : CopyProgress(), &error);
  CloseHandle(target);
  if (copied == CopyResult::Stopped) return EndRun(kExitCancelled);
  // A short copy (a full disk) would otherwise be unpacked as if whole.
  if (copied == CopyResult::Failed) return FailTemporaryFile(progress.window, path, error);
  return kGoOn;
}

// The information archive's names pass the rule for entry names before anything of it is
// unpacked, like the application archive's.
Outcome CheckInformationNames(const ProgressWindow& progress, const std::string& archive) {
  const ArchiveNames names = ReadArchiveNames(archive);
  if (!names.anyRefused) return kGoOn;
  LogLine("refused entry name: " + names.refused);
  ShowPackageError(progress.window, kCorruptedPackageText);
  return EndRun(kExitFailure);
}

// The preparation inside its window, which the caller opens and closes on every way out.
Outcome PreparePackageIn(InstallSession& session, const ProgressWindow& progress) {
  PackageFile package;
  Outcome outcome = OpenOwnPackage(progress.window, true, &package);
  if (outcome.Ends) return outcome;
  // Closed on every way out of here.
  struct Closer {
    HANDLE file;
    ~Closer() { CloseHandle(file); }
  } closer{package.file};

  std::mt19937 engine(RandomSeed());
  const auto random = [&engine]() { return static_cast<std::uint32_t>(engine()); };
  // Run elevated, the work goes into a folder that programs without elevation can't
  // change: they could otherwise swap the script between its unpacking and its reading.
  std::string parent = TemporaryFolder();
  if (session.Elevated) {
    std::string privateFolder;
    if (!CreateUniqueFolder(parent, random, TryCreatePrivateFolder, &privateFolder, kInstallerPrivatePrefix)) {
      return FailTemporaryFile(progress.window, privateFolder);
    }
    session.PrivateFolder = privateFolder;
    parent = privateFolder;
  }
  std::string workFolder;
  // A temporary folder that refuses every new folder would otherwise be retried forever.
  if (!CreateUniqueFolder(parent, random, TryCreateFolder, &workFolder)) {
    return FailTemporaryFile(progress.window, workFolder);
  }
  session.WorkFolder = workFolder;
  session.InfoArchiveTemp = PickTempFileName(workFolder, random, PathExists);
  session.ProgramArchiveTemp = PickTempFileName(workFolder, random, PathExists, session.InfoArchiveTemp);

  outcome = CopyArchiveOut(progress, package, InfoArchiveOffset(package.trailer, package.packageEnd),
                           package.trailer.infoBytes, session.InfoArchiveTemp, false);
  if (outcome.Ends) return outcome;
  outcome = CopyArchiveOut(progress, package, ProgramArchiveOffset(package.trailer, package.packageEnd),
                           package.trailer.programBytes, session.ProgramArchiveTemp, true);
  if (outcome.Ends) return outcome;

  outcome = CheckInformationNames(progress, session.InfoArchiveTemp);
  if (outcome.Ends) return outcome;
  const std::string information = workFolder + kInformationFolder;
  ExtractArchive(session.InfoArchiveTemp, "*.*", information, 1);
  DeleteFileA(session.InfoArchiveTemp.c_str());

  session.Languages = ListLanguages(UnpackedEntryPath(information, kLanguagesFolderEntry));

  session.ScriptPath = UnpackedEntryPath(information, kScriptEntry);
  session.StatisticsPath = UnpackedEntryPath(information, kStatisticsEntry);
  session.WizardBitmapPath = UnpackedEntryPath(information, kWizardBitmapEntry);
  session.HeaderBitmapPath = UnpackedEntryPath(information, kHeaderBitmapEntry);
  session.ReadMePath = UnpackedEntryPath(information, kReadMeEntry);
  session.LicensePath = UnpackedEntryPath(information, kLicenseEntry);
  ReadWholeFile(UnpackedEntryPath(information, kUninstallerEntry), kMaxUninstallerBytes, &session.PackageUninstaller);
  return kGoOn;
}

}  // namespace

Outcome PreparePackage(InstallSession& session) {
  ProgressWindow progress = OpenPreparationWindow();
  const Outcome outcome = PreparePackageIn(session, progress);
  CloseProgressWindow(&progress);
  return outcome;
}

Outcome ExportApplicationArchive(InstallSession& session, const std::string& folder) {
  std::string target = TrimSpaces(folder);
  if (target.empty()) return kGoOn;
  target = WithTrailingBackslash(target);
  CreateFolderPath(target);

  ProgressWindow progress = OpenExportWindow();
  PackageFile package;
  Outcome outcome = OpenOwnPackage(progress.window, false, &package);
  if (!outcome.Ends) {
    // Named for what it is: a ZIP, or the solid package's 7z archive.
    const std::int64_t offset = ProgramArchiveOffset(package.trailer, package.packageEnd);
    char start[8] = {};
    const bool solid = package.trailer.programBytes >= sizeof start &&
                       ReadPackageAt(package, offset, start, sizeof start) && HasSolidSignature(start, sizeof start);
    session.ProgramArchiveTemp = target + (solid ? "ProgramData.7z" : "ProgramData.zip");
    outcome = CopyArchiveOut(progress, package, offset, package.trailer.programBytes, session.ProgramArchiveTemp, true);
    CloseHandle(package.file);
  }
  CloseProgressWindow(&progress);
  return outcome;
}

}  // namespace corvalis
