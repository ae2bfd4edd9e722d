#include "common/path_variables.h"

#include "common/task_line.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <utility>

#include "common/ansi_text.h"
#include "common/os_family.h"

namespace corvalis {
namespace {

constexpr int kExpandAllPasses = 24;
const char kQuickLaunch[] = "Microsoft\\Internet Explorer\\Quick Launch\\";

const char* const kTokens[kPathVariableCount] = {
    "<ProgramFiles>",          "<RootPartition>",    "<DefaultInstallPath>",
    "<Windows>",               "<System>",           "<PureBasic>",
    "<AllUsersQuickLaunch>",   "<QuickLaunch>",      "<AllUsersStartPrograms>",
    "<StartPrograms>",         "<AllUsersDesktop>",  "<Desktop>",
    "<AllUsersStart>",         "<Start>",            "<AllUsersDocuments>",
    "<Documents>",             "<Temp>",             "<DefaultStartMenuGroup>",
};

// The install folder late: the others may stand inside the folder the user typed.
const int kExpansionOrder[kPathVariableCount] = {
    kProgramFilesFolder,      kRootPartitionFolder, kWindowsFolder,         kSystemFolder,
    kPureBasicFolder,         kAllUsersQuickLaunchFolder, kQuickLaunchFolder, kAllUsersProgramsFolder,
    kProgramsFolder,          kAllUsersDesktopFolder, kDesktopFolder,       kAllUsersStartFolder,
    kStartFolder,             kAllUsersDocumentsFolder, kDocumentsFolder,   kTempFolder,
    kInstallFolder,           kProgramGroupFolder};

std::string Special(const PathContext& context, int csidl) {
  return context.Folders ? context.Folders->SpecialFolder(csidl) : std::string();
}

// The system drive's root as the user's desktop sees it ("C:\").
std::string DriveRoot(const PathContext& context) {
  std::string desktop = Special(context, kCsidlDesktopDirectory);
  if (desktop.empty()) return std::string();
  std::string root = desktop.substr(0, 3);
  if (root.size() < 3 || root[2] != '\\') root += '\\';
  return root;
}

// A relative tail on an unknown folder would make a path relative to whatever the
// current folder is; keep the token instead.
std::string Join(const std::string& folder, const std::string& tail) {
  return folder.empty() ? std::string() : folder + tail;
}

}  // namespace

std::string PathVariableToken(int code) {
  if (code < 0 || code >= kPathVariableCount) return std::string();
  return kTokens[code];
}

std::string VariableFolder(int code, const PathContext& context) {
  const int os = context.OsVersionCode;
  const bool old = IsBefore2000(os);
  switch (code) {
    case kProgramFilesFolder:
      return old ? Join(DriveRoot(context), "Program Files\\")
                 : Special(context, kCsidlProgramFiles);
    case kRootPartitionFolder:
      return old ? DriveRoot(context) : Special(context, kCsidlWindows).substr(0, 3);
    case kInstallFolder:
      return context.InstallPath;
    case kWindowsFolder:
      if (IsNt4(os)) return Join(DriveRoot(context), "WINNT\\");
      if (Is98OrMe(os)) return Join(DriveRoot(context), "WINDOWS\\");
      return Special(context, kCsidlWindows);
    case kSystemFolder:
      if (IsNt4(os)) return Join(DriveRoot(context), "WINNT\\System32\\");
      if (Is98OrMe(os)) return Join(DriveRoot(context), "WINDOWS\\System32\\");
      return Special(context, kCsidlSystem);
    case kPureBasicFolder:
      return context.Folders ? context.Folders->PureBasicFolder() : std::string();
    case kAllUsersQuickLaunchFolder:
      return Join(Special(context, Is98OrMe(os) ? kCsidlAppData : kCsidlCommonAppData), kQuickLaunch);
    case kQuickLaunchFolder:
      return Join(Special(context, kCsidlAppData), kQuickLaunch);
    case kAllUsersProgramsFolder:
      return Special(context, Is98OrMe(os) ? kCsidlPrograms : kCsidlCommonPrograms);
    case kProgramsFolder:
      return Special(context, kCsidlPrograms);
    case kAllUsersDesktopFolder:
      return Special(context, Is98OrMe(os) ? kCsidlDesktopDirectory : kCsidlCommonDesktopDirectory);
    case kDesktopFolder:
      return Special(context, kCsidlDesktopDirectory);
    case kAllUsersStartFolder:
      return Special(context, Is98OrMe(os) ? kCsidlStartMenu : kCsidlCommonStartMenu);
    case kStartFolder:
      return Special(context, kCsidlStartMenu);
    case kAllUsersDocumentsFolder:
      return Special(context, Is98OrMe(os) ? kCsidlPersonal : kCsidlCommonDocuments);
    case kDocumentsFolder:
      return Special(context, kCsidlPersonal);
    case kTempFolder:
      return context.Folders ? context.Folders->TempFolder() : std::string();
    case kProgramGroupFolder:
      return context.StartMenuGroupPath;
    default:
      return std::string();
  }
}

namespace {

constexpr const char* kProgramTokens[] = {"<ProgramName>", "<ProgramVersion>", "<CompanyName>",
                                          "<CompanyWebsite>", "<SupportEmail>"};

const std::string& ProgramValue(int index, const PathContext& context) {
  const std::string* values[] = {&context.AppName, &context.Version, &context.CompanyName,
                                 &context.Website, &context.Email};
  return *values[index];
}

// Both expansions stop as soon as the text outgrows `maxLength`; the caller then sees a
// result longer than it and throws it away.
std::string ExpandPathVariablesWithin(const std::string& text, const PathContext& context,
                                      std::size_t maxLength) {
  std::string result = text;
  for (int code : kExpansionOrder) {
    const std::string token = kTokens[code];
    if (!ContainsNoCase(result, token)) continue;
    const std::string folder = VariableFolder(code, context);
    if (!folder.empty()) result = ReplaceNoCase(result, token, folder, maxLength);
    if (result.size() > maxLength) break;
  }
  return result;
}

std::string ExpandProgramInfoWithin(const std::string& text, const PathContext& context,
                                    std::size_t maxLength) {
  std::string result = text;
  for (int i = 0; i < static_cast<int>(std::size(kProgramTokens)); ++i) {
    const std::string& value = ProgramValue(i, context);
    if (value.empty() || !ContainsNoCase(result, kProgramTokens[i])) continue;
    result = ReplaceNoCase(result, kProgramTokens[i], value, maxLength);
    if (result.size() > maxLength) break;
  }
  return result;
}

}  // namespace

std::string ExpandPathVariables(const std::string& text, const PathContext& context) {
  return ExpandPathVariablesWithin(text, context, std::string::npos);
}

std::string ExpandProgramInfo(const std::string& text, const PathContext& context) {
  return ExpandProgramInfoWithin(text, context, std::string::npos);
}

// A value that holds its own token multiplies the text every round; a round that would
// grow it past the limit is refused, and the text of the round before stands.
std::string ExpandAll(const std::string& text, const PathContext& context) {
  std::string result = text;
  for (int pass = 0; pass < kExpandAllPasses; ++pass) {
    const std::size_t limit = std::max(kMaxBuiltTextChars, result.size());
    std::string next = ExpandProgramInfoWithin(ExpandPathVariablesWithin(result, context, limit),
                                               context, limit);
    if (next.size() > limit || next == result) break;
    result = std::move(next);
    if (result.find_first_of("<>") == std::string::npos) break;
  }
  return CollapseBackslashes(result);
}

bool ExpandTaskLine(const std::string& line, const PathContext& context, std::string* expanded) {
  std::string result;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = line.find(kFieldSeparator, start);
    const std::string field = ExpandAll(line.substr(start, end == std::string::npos ? end : end - start), context);
    if (HoldsFieldSeparator(field)) return false;
    result += field;
    if (end == std::string::npos) break;
    result += kFieldSeparator;
    start = end + 1;
  }
  *expanded = std::move(result);
  return true;
}

bool HoldsExpansionToken(const std::string& text) {
  for (const char* token : kTokens) {
    if (ContainsNoCase(text, token)) return true;
  }
  for (const char* token : kProgramTokens) {
    if (ContainsNoCase(text, token)) return true;
  }
  return false;
}

std::string CollapseBackslashes(const std::string& text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == '\\') ++i;
  }
  return result;
}

std::string PathVariableFolder(int code, const PathContext& context) {
  std::string folder = ExpandPathVariables(PathVariableToken(code), context);
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

}  // namespace corvalis
