#include "installer/engine/session_paths.h"

#include "installer/engine/special_folders.h"
#include "installer/install_session.h"

namespace corvalis {

PathContext SessionPathContext() {
  const InstallSession& session = Session();
  PathContext context;
  context.Folders = &SystemFolders();
  context.OsVersionCode = session.OsVersionCode;
  context.InstallPath = session.InstallPath;
  context.StartMenuGroupPath = session.StartMenuGroupPath;
  context.AppName = session.ScriptSettings.AppName;
  context.Version = session.ScriptSettings.Version;
  context.CompanyName = session.ScriptSettings.CompanyName;
  context.Website = session.ScriptSettings.Website;
  context.Email = session.ScriptSettings.Email;
  return context;
}

std::string ExpandAll(const std::string& text) { return ExpandAll(text, SessionPathContext()); }

std::string PathVariableFolder(int code) { return PathVariableFolder(code, SessionPathContext()); }

}  // namespace corvalis
