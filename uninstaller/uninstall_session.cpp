#include "uninstaller/uninstall_session.h"

#include <algorithm>

#include "common/ansi_text.h"
#include "common/command_line.h"

namespace corvalis {
namespace {

constexpr char kAppNamePlaceholder[] = "$APPNAME$";
// A second between the delete's tries, through the one pause every command processor has.
constexpr int kSelfDeleteTries = 30;
constexpr char kSelfDeletePause[] = "ping -n 2 127.0.0.1 >nul";

std::string TextOf(const UninstallData& data, const std::string& key) {
  for (const auto& text : data.Texts) {
    if (EqualsNoCase(text.first, key)) return text.second;
  }
  return std::string();
}

}  // namespace

UninstallSession SessionFromData(const UninstallData& data) {
  UninstallSession session;
  session.AppName = data.AppName;
  session.InstallPath = data.InstallPath;
  session.RebootRequired = data.RebootRequired;
  for (int i = 0; i < kUninstallTextCount; ++i) {
    session.UninstallTexts.push_back(
        ReplaceWithinLimit(TextOf(data, "Key" + std::to_string(i)), kAppNamePlaceholder, data.AppName));
  }
  session.InstallRecords = data.InstTasks;
  session.UninstallTasks = data.UninstTasks;
  session.FilesToDelete = data.Files;
  return session;
}

std::vector<std::string> ParseKeptExtensions(const std::string& skipExtString) {
  std::vector<std::string> kept = SplitCommaList(skipExtString);
  for (std::string& extension : kept) extension = ToLowerAnsi(extension);
  return kept;
}

bool IsKeptExtension(const std::vector<std::string>& keptExtensions, const std::string& extension) {
  const std::string lower = ToLowerAnsi(extension);
  return std::find(keptExtensions.begin(), keptExtensions.end(), lower) != keptExtensions.end();
}

std::string FileExtension(const std::string& path) {
  const std::string name = FileNamePart(path);
  const std::size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string DataFilePathFor(const std::string& programPath) {
  const std::string name = FileNamePart(programPath);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return programPath + ".dat";
  return programPath.substr(0, programPath.size() - name.size() + dot) + ".dat";
}

FolderEntry MakeFolderEntry(const std::string& folderPath) {
  FolderEntry entry;
  entry.FolderPath = folderPath;
  entry.Depth = PathDepth(folderPath);
  return entry;
}

void SortDeepestFirst(std::vector<FolderEntry>* folders) {
  SortDeepestFirst(folders, [](const FolderEntry& folder) -> const std::string& { return folder.FolderPath; });
}

int ProgressPosition(int step, int total) {
  if (total <= 0 || step <= 0) return 0;
  if (step >= total) return kProgressRange;
  return step * kProgressRange / total;
}

std::string TempCopyPath(const std::string& tempFolder, std::uint32_t number) {
  return tempFolder + std::to_string(number) + ".exe";
}

std::string SecondStageParameters(const std::string& installedDataPath, const std::string& installedProgramPath) {
  return "\"" + installedDataPath + "\" \"" + installedProgramPath + "\"";
}

std::string SelfDeleteParameters(const std::string& programPath, const std::string& alsoDelete,
                                 const std::vector<std::string>& folders) {
  auto quoted = [](const std::string& path) { return "\"" + path + "\""; };
  // Every round tries each delete, and pauses while the last one's target is still there
  // (a running program's file can't go; the folder can't while it holds one). One loop:
  // a second command after a loop would run inside it in some command processors.
  // Wine's rd takes quotes as part of the name: folders are given as short paths, quoted
  // only if they hold a space.
  std::string body = "del /f /q " + quoted(programPath) + " 2>nul";
  std::string last = quoted(programPath);
  if (!alsoDelete.empty()) {
    body += " & del /f /q " + quoted(alsoDelete) + " 2>nul";
    last = quoted(alsoDelete);
  }
  for (const std::string& folder : folders) {
    last = folder.find(' ') == std::string::npos ? folder : quoted(folder);
    body += " & rd " + last + " 2>nul";
  }
  return "/c for /l %i in (1,1," + std::to_string(kSelfDeleteTries) + ") do (" + body + " & if exist " + last + " " +
         kSelfDeletePause + ")";
}

UninstallerOptions ReadUninstallerOptions(const std::string& parameters, bool interactiveDesktop) {
  UninstallerOptions options;
  std::vector<std::string> paths;
  const std::vector<std::string> split = SplitParameters(parameters);
  options.Mode = ModeOfSwitches(split);
  for (const std::string& parameter : split) {
    CommandSwitch parsed;
    if (!ReadSwitch(parameter, &parsed)) {
      paths.push_back(parameter);
    } else if (!ReadCommonSwitch(parsed, &options, &options.Problem) && options.Problem.empty()) {
      options.Problem = "unknown parameter \"" + parameter + "\"";
    }
  }
  SettleCommonSwitches(&options, interactiveDesktop);
  if (!paths.empty()) options.InstalledDataPath = paths[0];
  if (paths.size() > 1) options.InstalledProgramPath = paths[1];
  if (paths.size() > 2 && options.Problem.empty()) options.Problem = "unknown parameter \"" + paths[2] + "\"";
  return options;
}

std::string SecondStageSwitches(const UninstallerOptions& options) {
  std::string switches;
  if (options.Mode == RunMode::VerySilent) switches += " /VERYSILENT";
  if (options.Mode == RunMode::Silent) switches += " /SILENT";
  if (options.Log && !options.LogPath.empty()) switches += " /LOG=\"" + options.LogPath + "\"";
  if (options.NoRestart && options.Mode == RunMode::Interactive) switches += " /NORESTART";
  if (options.ForceRestart) switches += " /FORCERESTART";
  return switches;
}

}  // namespace corvalis
