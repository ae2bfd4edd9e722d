#include "installer/package/prepare_package.h"

#include <windows.h>

#include <memory>
#include <random>

#include "common/ansi_text.h"
#include "common/long_paths.h"
#include "common/private_folder.h"
#include "common/exit_codes.h"
#include "common/special_folders.h"
#include "common/system_operations.h"
#include "installer/install_session.h"
#include "installer/package/copy_file_range.h"
#include "installer/package/extract_archive.h"
#include "installer/package/language_list.h"
#include "installer/package/messages.h"
#include "installer/package/package_file.h"
#include "installer/package/package_layout.h"
#include "installer/package/progress_window.h"
#include "installer/package/unique_names.h"
#include "installer/work_folder.h"

namespace corvalis {

namespace {

RandomSource MakeRandomSource() {
  LARGE_INTEGER counter = {};
  QueryPerformanceCounter(&counter);
  auto engine = std::make_shared<std::mt19937>(static_cast<std::uint32_t>(counter.QuadPart) ^
                                               (GetCurrentProcessId() << 16) ^ GetTickCount());
  return [engine]() { return static_cast<std::uint32_t>((*engine)()); };
}

FolderAttempt TryCreateFolder(const std::string& folder) {
  if (CreateDirectoryA(folder.c_str(), nullptr)) return FolderAttempt::Created;
  return GetLastError() == ERROR_ALREADY_EXISTS ? FolderAttempt::Exists : FolderAttempt::Failed;
}

FolderAttempt TryCreatePrivateFolder(const std::string& folder) {
  if (CreatePrivateFolder(folder)) return FolderAttempt::Created;
  return GetLastError() == ERROR_ALREADY_EXISTS ? FolderAttempt::Exists : FolderAttempt::Failed;
}

// The progress callback of the big copy: on a confirmed Cancel both files are closed and
// the run ends.
CopyProgress CancellableProgress(const ProgressWindow& window, HANDLE source, HANDLE target) {
  return [window, source, target](int percent) {
    if (!StepProgressWindow(window, percent) || !ConfirmCancelBeforeLanguage(window.window)) return;
    CloseHandle(source);
    CloseHandle(target);
    AbortInstaller(kExitCancelled);
  };
}

// Copies `bytes` of the package from `offset` into a new file at path; a file that can't
// be made ends the run with its message. cancellable: the window's Cancel may end the run
// during the copy.
void CopyArchiveOut(const ProgressWindow& progress, const PackageFile& package, std::int64_t offset,
                    std::uint32_t bytes, const std::string& path, bool cancellable) {
  HANDLE target = CreateOutputFile(path);
  if (target == INVALID_HANDLE_VALUE) FailTemporaryFile(progress.window, path);
  const int copied =
      CopyFileRange(package.file, target, static_cast<std::int32_t>(offset), static_cast<std::int32_t>(bytes),
                    cancellable ? CancellableProgress(progress, package.file, target) : CopyProgress());
  CloseHandle(target);
  // A short copy (a full disk) would otherwise be unpacked as if whole.
  if (!copied) FailTemporaryFile(progress.window, path);
}

}  // namespace

void PreparePackage() {
  InstallSession& session = Session();
  ProgressWindow progress = OpenPreparationWindow();
  PackageFile package = OpenOwnPackage(progress.window, true);

  RandomSource random = MakeRandomSource();
  // Run elevated, the work goes into a folder that programs without elevation can't
  // change: they could otherwise swap the script between its unpacking and its reading.
  std::string parent = TemporaryFolder();
  if (session.Elevated) {
    std::string privateFolder;
    if (!CreateUniqueFolder(parent, random, TryCreatePrivateFolder, &privateFolder, kInstallerPrivatePrefix)) {
      FailTemporaryFile(progress.window, privateFolder);
    }
    session.PrivateFolder = privateFolder;
    parent = privateFolder;
  }
  std::string workFolder;
  // A temporary folder that refuses every new folder would otherwise be retried forever.
  if (!CreateUniqueFolder(parent, random, TryCreateFolder, &workFolder)) FailTemporaryFile(progress.window, workFolder);
  session.WorkFolder = workFolder;
  session.InfoArchiveTemp = PickTempFileName(workFolder, random, PathExists);
  session.ProgramArchiveTemp = PickTempFileName(workFolder, random, PathExists, session.InfoArchiveTemp);

  CopyArchiveOut(progress, package, InfoArchiveOffset(package.trailer, package.packageEnd), package.trailer.infoBytes,
                 session.InfoArchiveTemp, false);
  CopyArchiveOut(progress, package, ProgramArchiveOffset(package.trailer, package.packageEnd),
                 package.trailer.programBytes, session.ProgramArchiveTemp, true);
  CloseHandle(package.file);

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
  CloseProgressWindow(&progress);
}

int ExportApplicationArchive(const std::string& folder) {
  std::string target = TrimSpaces(folder);
  if (target.empty()) return 0;
  target = WithTrailingBackslash(target);
  CreateFolderPath(target);

  InstallSession& session = Session();
  ProgressWindow progress = OpenExportWindow();
  PackageFile package = OpenOwnPackage(progress.window, false);
  session.ProgramArchiveTemp = target + "ProgramData.zip";
  CopyArchiveOut(progress, package, ProgramArchiveOffset(package.trailer, package.packageEnd),
                 package.trailer.programBytes, session.ProgramArchiveTemp, true);
  CloseHandle(package.file);
  CloseProgressWindow(&progress);
  return 1;
}

}  // namespace corvalis
