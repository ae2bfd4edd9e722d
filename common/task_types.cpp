#include "common/task_types.h"

#include "common/task_line.h"

namespace corvalis {

namespace {

constexpr TaskTypeInfo kInstallTypes[] = {
    {TaskType::Run, "RUN", 7, UndoKind::None},
    {TaskType::RegAddValue, "REGADDVALUE", 6, UndoKind::RegistryValue},
    {TaskType::RegAddKey, "REGADDKEY", 5, UndoKind::RegistryKey},
    {TaskType::RegDelValue, "REGDELVALUE", 5, UndoKind::None},
    {TaskType::RegDelKey, "REGDELKEY", 5, UndoKind::None},
    {TaskType::NormalLink, "NORMALLINK", 7, UndoKind::LinkFile},
    {TaskType::InternetLink, "INTERNETLINK", 5, UndoKind::LinkFile},
    {TaskType::DeleteFile, "DELETEFILE", 2, UndoKind::None},
    {TaskType::MoveFile, "MOVEFILE", 3, UndoKind::None},
    {TaskType::CopyFile, "COPYFILE", 3, UndoKind::CopiedFile},
    {TaskType::CreateFolder, "CREATEFOLDER", 2, UndoKind::Folder},
    {TaskType::DeleteFolder, "DELETEFOLDER", 4, UndoKind::None},
    {TaskType::AssociateExtension, "ASSOCIATEEXTENSION", 5, UndoKind::Association},
    {TaskType::DisassociateExtension, "DISASSOCIATEEXTENSION", 3, UndoKind::None},
    {TaskType::StartService, "STARTSERVICE", 2, UndoKind::None},
    {TaskType::InstallService, "INSTALLSERVICE", 6, UndoKind::Service},
    {TaskType::StopService, "STOPSERVICE", 2, UndoKind::None},
    {TaskType::RemoveService, "REMOVESERVICE", 2, UndoKind::None},
    {TaskType::RegisterServer, "REGISTERSERVER", 2, UndoKind::Server},
    {TaskType::UnregisterServer, "UNREGISTERSERVER", 2, UndoKind::None},
    // The downloaded file is not recorded: it stays after an uninstallation.
    {TaskType::DownloadFile, "DOWNLOADFILE", 3, UndoKind::None},
    {TaskType::InstallFont, "INSTALLFONT", 3, UndoKind::None},
    {TaskType::Restart, "!REBOOT_I", 1, UndoKind::None},
    {TaskType::KillTask, "KILLTASK", 2, UndoKind::None},
};

constexpr TaskTypeInfo kUninstallTypes[] = {
    {TaskType::Run, "RUN", 5, UndoKind::None},
    {TaskType::LaunchBrowser, "LAUNCHBROWSER", 2, UndoKind::None},
};

// Each kind with the task that writes its records first; the others are read as well.
struct UndoKeyword {
  UndoKind Kind;
  TaskType Type;
};
constexpr UndoKeyword kUndoKeywords[] = {
    {UndoKind::RegistryValue, TaskType::RegAddValue}, {UndoKind::RegistryKey, TaskType::RegAddKey},
    {UndoKind::LinkFile, TaskType::NormalLink},       {UndoKind::LinkFile, TaskType::InternetLink},
    {UndoKind::CopiedFile, TaskType::CopyFile},       {UndoKind::DownloadedFile, TaskType::DownloadFile},
    {UndoKind::Folder, TaskType::CreateFolder},       {UndoKind::Association, TaskType::AssociateExtension},
    {UndoKind::Service, TaskType::InstallService},    {UndoKind::Server, TaskType::RegisterServer},
};

}  // namespace

const TaskTypeInfo* TaskTypes(TaskList list, std::size_t* count) {
  if (list == TaskList::Uninstall) {
    *count = sizeof kUninstallTypes / sizeof kUninstallTypes[0];
    return kUninstallTypes;
  }
  *count = sizeof kInstallTypes / sizeof kInstallTypes[0];
  return kInstallTypes;
}

const TaskTypeInfo* FindTaskType(TaskList list, const std::string& keyword) {
  std::size_t count = 0;
  const TaskTypeInfo* types = TaskTypes(list, &count);
  for (std::size_t i = 0; i < count; ++i) {
    if (keyword == types[i].Keyword) return &types[i];
  }
  return nullptr;
}

TaskType TaskTypeOf(const std::string& line, TaskList list) {
  const TaskTypeInfo* info = FindTaskType(list, Field(line, field::kKeyword));
  return info ? info->Type : TaskType::None;
}

const char* TaskKeyword(TaskType type) {
  for (const TaskTypeInfo& info : kInstallTypes) {
    if (info.Type == type) return info.Keyword;
  }
  for (const TaskTypeInfo& info : kUninstallTypes) {
    if (info.Type == type) return info.Keyword;
  }
  return "";
}

UndoKind UndoKindOf(const std::string& line) {
  const TaskType type = TaskTypeOf(line);
  for (const UndoKeyword& keyword : kUndoKeywords) {
    if (keyword.Type == type) return keyword.Kind;
  }
  return UndoKind::None;
}

std::string UndoRecord(UndoKind kind, const std::string& target, const std::string& extension) {
  for (const UndoKeyword& keyword : kUndoKeywords) {
    if (keyword.Kind != kind) continue;
    std::string line = std::string(TaskKeyword(keyword.Type)) + kFieldSeparator + target;
    if (kind == UndoKind::Association) line += kFieldSeparator + extension;
    return line;
  }
  return std::string();
}

}  // namespace corvalis
