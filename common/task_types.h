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

// Where each type keeps its values: field positions of its lines (field 1 is the keyword).
// The table's field counts above are the last of these.
namespace field {
constexpr int kKeyword = 1;
// RUN¶<wait 1>¶<hidden 1>¶<now 1, or 0: a finish-page action>¶<program>¶<parameters>¶<item text>
constexpr int kRunWait = 2, kRunHidden = 3, kRunNow = 4, kRunProgram = 5, kRunParameters = 6, kRunText = 7;
// [UninstTasks] RUN¶<now 1>¶<after the removal 1>¶<program>¶<parameters>
constexpr int kUninstallRunNow = 2, kUninstallRunAfter = 3, kUninstallRunProgram = 4, kUninstallRunParameters = 5;
// LAUNCHBROWSER¶<address>
constexpr int kBrowserAddress = 2;
// REGADDVALUE, REGADDKEY, REGDELVALUE, REGDELKEY¶<root>¶<value name>¶<data>¶<key path>¶<type>
constexpr int kRegistryRoot = 2, kRegistryValueName = 3, kRegistryData = 4, kRegistryKeyPath = 5, kRegistryType = 6;
// NORMALLINK¶<location code>¶<name>¶<target>¶<deferred 1>¶<icon index>¶<description>;
// INTERNETLINK the same up to <deferred>, with the address as its target.
constexpr int kLinkLocation = 2, kLinkName = 3, kLinkTarget = 4, kLinkDeferred = 5, kLinkIconIndex = 6,
              kLinkDescription = 7;
// DELETEFILE¶<file>; MOVEFILE, COPYFILE¶<source>¶<destination>
constexpr int kFilePath = 2, kCopySource = 2, kCopyDestination = 3;
// CREATEFOLDER¶<folder>; DELETEFOLDER¶<folder>¶<recursive 1>¶<force 1>
constexpr int kFolderPath = 2, kFolderRecursive = 3, kFolderForce = 4;
// ASSOCIATEEXTENSION¶<extension>¶<description>¶<program>¶<icon index>;
// DISASSOCIATEEXTENSION¶<extension>¶<program file name>
constexpr int kAssociationExtension = 2, kAssociationDescription = 3, kAssociationProgram = 4,
              kAssociationIconIndex = 5, kDisassociationProgram = 3;
// STARTSERVICE, STOPSERVICE, REMOVESERVICE¶<name>;
// INSTALLSERVICE¶<name>¶<display name>¶<program>¶<description>¶<start type 0..4>
constexpr int kServiceName = 2, kServiceDisplayName = 3, kServiceProgram = 4, kServiceDescription = 5,
              kServiceStartType = 6;
// REGISTERSERVER, UNREGISTERSERVER¶<file>
constexpr int kServerFile = 2;
// DOWNLOADFILE¶<address>¶<file>
constexpr int kDownloadAddress = 2, kDownloadFile = 3;
// INSTALLFONT¶<font name>¶<font file>
constexpr int kFontName = 2, kFontFile = 3;
// KILLTASK¶<process names, comma-separated>
constexpr int kKillNames = 2;
// Undo records (common/uninstall_data.h): <keyword>¶<target>[¶<extension>];
// DOWNLOADFILE records <address>¶<file>.
constexpr int kRecordTarget = 2, kRecordExtension = 3, kRecordDownloadedFile = 3;
}  // namespace field

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
