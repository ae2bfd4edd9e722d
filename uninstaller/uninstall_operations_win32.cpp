#include "uninstaller/uninstall_operations_win32.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include "common/unique_names.h"
#include "common/control_ids.h"
#include "common/folder_tree.h"
#include "common/ini_file.h"
#include "common/long_paths.h"
#include "common/private_folder.h"
#include "common/message_box.h"
#include "common/run_log.h"
#include "common/run_mode.h"
#include "common/operations_settings.h"
#include "common/special_folders.h"
#include "common/start_messages.h"
#include "common/system_operations.h"
#include "common/whole_file.h"
#include "common/window_toolkit.h"
#include "uninstaller/uninstall_run.h"
#include "uninstaller/uninstall_session.h"

namespace corvalis {
namespace {

constexpr char kWindowClass[] = "CorvalisUninstallProgress";

LRESULT CALLBACK ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Nothing to click, and no way to close it: it goes when the removal is done.
  if (message == WM_CLOSE) return 0;
  if (message == kDpiChangedMessage) {
    FollowDpiChange(window, wParam, lParam);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void HandlePendingEvents() {
  MSG event;
  while (PeekMessageA(&event, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&event);
    DispatchMessageA(&event);
  }
}

}  // namespace

SystemUninstallOperations::SystemUninstallOperations(HICON icon, bool elevated)
    : icon_(icon), elevated_(elevated), random_(GetTickCount() ^ (GetCurrentProcessId() << 16)) {}

SystemUninstallOperations::~SystemUninstallOperations() { CloseProgressWindow(); }

void SystemUninstallOperations::ShowError(const std::string& text) {
  ShowMessageBox(nullptr, text, kErrorTitle, MB_OK | MB_ICONERROR);
}

bool SystemUninstallOperations::AskYesNo(const std::string& title, const std::string& text) {
  return ShowMessageBox(window_, text, title, MB_YESNO | MB_ICONQUESTION, IDNO) == IDYES;
}

void SystemUninstallOperations::ShowInformation(const std::string& title, const std::string& text) {
  ShowMessageBox(window_, text, title, MB_OK | MB_ICONINFORMATION);
}

void SystemUninstallOperations::OpenProgressWindow(const std::string& buttonText, const std::string& text) {
  if (CurrentRunMode() == RunMode::VerySilent) return;
  InitCommonControlClasses(ICC_PROGRESS_CLASS);
  RegisterWindowClass(kWindowClass, ProgressProc, icon_);
  const SmallProgressWindow made =
      OpenSmallProgressWindow(kWindowClass, kProductTitle, WS_OVERLAPPED | WS_CAPTION, icon_, text.c_str(), 55,
                              kIdUninstallText, buttonText.c_str(), kIdCancel, kIdProgressBar, kProgressRange);
  window_ = made.window;
  if (!window_) return;
  // Nothing stops a removal under way.
  EnableWindow(made.button, FALSE);
  bar_ = made.bar;
  ShowNow(window_);
}

void SystemUninstallOperations::ShowProgress(int position) {
  HandlePendingEvents();
  if (bar_) SendMessageA(bar_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void SystemUninstallOperations::CloseProgressWindow() {
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
  bar_ = nullptr;
}

std::string SystemUninstallOperations::OwnPath() { return OwnProgramPath(); }

std::string SystemUninstallOperations::CopyFolder() {
  const std::string temp = corvalis::TempFolder();
  if (!elevated_ || temp.empty()) return temp;
  std::string folder;
  const bool made = PickFreeName(
      [this]() { return RandomNumber(kTempCopyNumberMax); }, kTempCopyNumberMax + 1,
      [&temp](std::uint32_t n) { return temp + kUninstallerPrivatePrefix + std::to_string(n) + "\\"; },
      [](const std::string& candidate) {
        if (CreatePrivateFolder(candidate)) return NameTry::Done;
        return GetLastError() == ERROR_ALREADY_EXISTS ? NameTry::Taken : NameTry::Failed;
      },
      &folder);
  return made ? privateFolder_ = folder : std::string();
}

void SystemUninstallOperations::DiscardCopyFolder() {
  if (!privateFolder_.empty()) RemoveFolderPath(privateFolder_);
}

std::uint32_t SystemUninstallOperations::RandomNumber(std::uint32_t maximum) {
  random_ = random_ * 1103515245u + 12345u;
  return (random_ >> 1) % (maximum + 1);
}

bool SystemUninstallOperations::PathExists(const std::string& path) {
  return PathAttributes(path) != INVALID_FILE_ATTRIBUTES;
}

bool SystemUninstallOperations::CopyNewFile(const std::string& source, const std::string& destination,
                                            unsigned long* error) {
  if (CopyFileA(source.c_str(), destination.c_str(), TRUE)) return true;
  *error = GetLastError();
  return false;
}

bool SystemUninstallOperations::ReadFile(const std::string& path, std::string* bytes) {
  return ReadWholeFile(path, kMaxIniFileBytes, bytes) == FileRead::Ok;
}

bool SystemUninstallOperations::StartProgram(const std::string& program, const std::string& parameters,
                                             const std::string& workingFolder, bool hidden) {
  // A program that can't be started is skipped like every failed step, without the
  // shell's own error box.
  return LaunchProgram(program, parameters, workingFolder, hidden ? SW_HIDE : SW_SHOWNORMAL, false);
}

int SystemUninstallOperations::StartAndWait(const std::string& program, const std::string& parameters) {
  int code = -1;
  return LaunchProgram(program, parameters, std::string(), SW_SHOWNORMAL, true, false, &code) ? code : -1;
}

bool SystemUninstallOperations::MoveFileTo(const std::string& source, const std::string& destination) {
  return MovePath(source, &destination, MOVEFILE_REPLACE_EXISTING);
}

void SystemUninstallOperations::SelfDelete(const std::string& alsoDelete, const std::string& alsoFolder) {
  char comspec[MAX_PATH + 1] = {};
  const DWORD length = GetEnvironmentVariableA("comspec", comspec, sizeof comspec);
  if (length == 0 || length > MAX_PATH) return;
  // The copy's private folder goes with it; the temporary folder itself never does. The
  // name is read from the folder's entry: the path may be all in short form.
  std::string folder = FolderPart(OwnPath());
  if (!folder.empty()) folder.pop_back();
  WIN32_FIND_DATAA entry = {};
  const HANDLE search = FindFirstFileA(folder.c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  const bool privateFolder = elevated_ && search != INVALID_HANDLE_VALUE &&
                             std::string(entry.cFileName).rfind(kUninstallerPrivatePrefix, 0) == 0;
  std::vector<std::string> folders;
  for (std::string path : {privateFolder ? folder : std::string(), alsoFolder}) {
    if (path.empty()) continue;
    if (path.back() == '\\') path.pop_back();
    // Short, for the command processors that take quotes as part of a name; as it is
    // where the system has no short name for it.
    char shortPath[MAX_PATH] = {};
    const DWORD shortLength = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    folders.push_back(shortLength > 0 && shortLength < MAX_PATH ? shortPath : path);
  }
  const std::string parameters = SelfDeleteParameters(OwnPath(), alsoDelete, folders);
  LogLine("clean-up: " + std::string(comspec) + " " + parameters);
  StartProgram(comspec, parameters, std::string(), true);
}

void SystemUninstallOperations::Log(const std::string& text) { LogLine(text); }

void SystemUninstallOperations::DeleteRegistryValue(std::uint32_t root, const std::string& keyPath,
                                                    const std::string& valueName) {
  corvalis::DeleteRegistryValue(RootKey(root), keyPath, valueName, std::string());
}

void SystemUninstallOperations::DeleteRegistryKey(std::uint32_t root, const std::string& keyPath) {
  corvalis::DeleteRegistryKey(RootKey(root), keyPath, std::string());
}

void SystemUninstallOperations::DisassociateExtension(const std::string& extension,
                                                      const std::string& programFileName) {
  corvalis::DisassociateExtension(extension, programFileName);
}

void SystemUninstallOperations::RemoveService(const std::string& nameOrDisplayName) {
  if (!IsNtFamily(Operations().OsVersionCode)) return;
  const std::string name = FindServiceName(nameOrDisplayName);
  if (name.empty()) return;
  StopServiceByName(name);
  RemoveServiceByName(name);
}

void SystemUninstallOperations::UnregisterServer(const std::string& path) { RegisterServer(path, 0); }

void SystemUninstallOperations::KillProcesses(const std::string& fileName) { KillProcessesByName(fileName); }

UninstallOperations::Removal SystemUninstallOperations::RemoveFile(const std::string& path) {
  if (DeletePath(path)) return Removal::Gone;
  const DWORD attributes = PathAttributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return Removal::Gone;
  // A folder entry of the list goes with the folders, once it is empty.
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return Removal::Kept;
  return (attributes & FILE_ATTRIBUTE_READONLY) ? Removal::Kept : Removal::InUse;
}

bool SystemUninstallOperations::DeleteAtRestart(const std::string& path) {
  return MovePath(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

void SystemUninstallOperations::SetCurrentFolder(const std::string& folder) {
  SetCurrentDirectoryA(folder.c_str());
}

FolderListing SystemUninstallOperations::ReadFolder(const std::string& folder) {
  FolderListing listing;
  for (const FolderItem& item : ReadFolderItems(folder)) {
    if (item.Attributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A junction leads out of the installation: neither listed nor measured.
      if (!(item.Attributes & FILE_ATTRIBUTE_REPARSE_POINT)) listing.Subfolders.push_back(item.Name);
    } else {
      listing.FileBytes += item.Bytes;
    }
  }
  return listing;
}

void SystemUninstallOperations::RemoveEmptyFolder(const std::string& folder) {
  SetPathAttributes(folder, FILE_ATTRIBUTE_NORMAL);
  RemoveFolderPath(folder);
}

void SystemUninstallOperations::DeleteFolderTree(const std::string& folder) { corvalis::DeleteFolderTree(folder); }

void SystemUninstallOperations::NotifyAssociationsChanged() { corvalis::NotifyAssociationsChanged(); }

void SystemUninstallOperations::RestartComputer() { corvalis::RestartComputer(0); }

}  // namespace corvalis
