#include "installer/engine/session_paths.h"

#include "common/operations_settings.h"
#include "common/special_folders.h"

namespace corvalis {

PathContext SessionPathContext(const InstallSession& session) {
  PathContext context;
  context.Folders = &SystemFolders();
  context.OsVersionCode = Operations().OsVersionCode;
  context.InstallPath = session.InstallPath;
  context.StartMenuGroupPath = session.StartMenuGroupPath;
  context.AppName = session.ScriptSettings.AppName;
  context.Version = session.ScriptSettings.Version;
  context.CompanyName = session.ScriptSettings.CompanyName;
  context.Website = session.ScriptSettings.Website;
  context.Email = session.ScriptSettings.Email;
  return context;
}

}  // namespace corvalis
