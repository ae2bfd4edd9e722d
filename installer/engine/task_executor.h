// The task executor: one task line of the script (or of the finish page) at a time.
#pragma once

#include "common/task_line.h"
#include "installer/engine/task_operations.h"
#include "installer/install_session.h"

namespace corvalis {

constexpr unsigned kTaskPauseMs = 5;

// Expands task.Line field by field (a line whose expansion would put a field separator
// into a field is not run), runs its type's operation, shows its status line and appends what
// the uninstaller must undo to session.UndoLog under task.Name. A failed operation shows
// no "after" status and records nothing; an unknown type (any letter case other than the
// keyword's) does nothing. Always 1: no task failure stops an installation.
int ExecuteTask(InstallSession& session, const TaskEntry& task, TaskOperations& operations);

}  // namespace corvalis
