// The task types of the script's two task lists in one table: the keyword that opens a
// task line, how many fields the line takes, and what an installation task leaves in the
// uninstall data for its uninstaller. The script check, the executor, the finish page
// and the uninstaller all read it.
#pragma once

#include <cstddef>
#include <string>

#include "common/uninstall_data.h"

namespace corvalis {

enum class TaskType {
  None,  // no keyword of the list
  // [InstTasks]
  Run,
  RegAddValue,
  RegAddKey,
  RegDelValue,
  RegDelKey,
  NormalLink,
  InternetLink,
  DeleteFile,
  MoveFile,
  CopyFile,
  CreateFolder,
  DeleteFolder,
  AssociateExtension,
  DisassociateExtension,
  StartService,
  InstallService,
  StopService,
  RemoveService,
  RegisterServer,
  UnregisterServer,
  DownloadFile,
  InstallFont,
  Restart,
  KillTask,
  // [UninstTasks] only
  LaunchBrowser,
};

enum class TaskList { Install, Uninstall };

struct TaskTypeInfo {
  TaskType Type;
  const char* Keyword;  // compared exactly: upper case
  int Fields;           // the fields a full line has, the keyword included
  UndoKind Records;     // what the installation records for the uninstaller
};

// The types of one list, in table order.
const TaskTypeInfo* TaskTypes(TaskList list, std::size_t* count);
// The type of that list whose keyword is exactly `keyword`; nullptr when none.
const TaskTypeInfo* FindTaskType(TaskList list, const std::string& keyword);
// The type of a task line of that list (its field 1).
TaskType TaskTypeOf(const std::string& line, TaskList list = TaskList::Install);
// The keyword of a type ("" for None).
const char* TaskKeyword(TaskType type);

// The kind of an undo record (common/uninstall_data.h); None for a line that names nothing
// to undo.
UndoKind UndoKindOf(const std::string& line);
// The record of a change of that kind: target is the file, folder or display name; an
// association also names its extension. Registry records are their task's own line.
std::string UndoRecord(UndoKind kind, const std::string& target, const std::string& extension = std::string());

}  // namespace corvalis
