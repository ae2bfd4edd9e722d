#include "installer/startup/command_line.h"

#include "common/ansi_text.h"
#include "common/command_line.h"
#include "common/task_line.h"

namespace corvalis {

namespace {

enum class Takes { Nothing, Value };

struct KnownSwitch {
  const char* Name;
  Takes Argument;
};

// The installer's own switches; the common ones are common/command_line.h's.
constexpr KnownSwitch kSwitches[] = {
    {"DIR", Takes::Value},         {"D", Takes::Value}, {"GROUP", Takes::Value}, {"NOICONS", Takes::Nothing},
    {"LANG", Takes::Value},        {"?", Takes::Nothing}, {"HELP", Takes::Nothing},
};

const KnownSwitch* Known(const CommandSwitch& parsed) {
  for (const KnownSwitch& known : kSwitches) {
    if (parsed.Name == known.Name) return &known;
  }
  return nullptr;
}

// The command line as the first installers had it: two parameters at most count.
InstallerOptions ReadPlainParameters(const std::vector<std::string>& params) {
  InstallerOptions options;
  if (params.size() < 2 || params[0].empty() || params[1].empty()) return options;
  if (params[0] == "-u") {
    options.Action = StartAction::Export;
    options.ExportFolder = params[1];
  } else {
    options.Action = StartAction::Usage;
  }
  return options;
}

}  // namespace

InstallerOptions ReadInstallerOptions(const std::string& parameters, bool interactiveDesktop) {
  std::string before;
  std::string trailingFolder;
  const bool nsisFolder = SplitTrailingFolder(parameters, &before, &trailingFolder);
  const std::vector<std::string> params = SplitParameters(nsisFolder ? before : parameters);

  bool anyKnown = nsisFolder;
  std::string firstUnknown;
  CommandSwitch parsed;
  for (const std::string& param : params) {
    if (!ReadSwitch(param, &parsed)) continue;
    CommonSwitches common;
    std::string ignored;
    const bool known = Known(parsed) || ReadCommonSwitch(parsed, &common, &ignored);
    anyKnown = anyKnown || known;
    if (!known && firstUnknown.empty()) firstUnknown = param;
  }
  const bool exporting = !params.empty() && params[0] == "-u";
  if (!anyKnown || exporting) {
    InstallerOptions plain = ReadPlainParameters(params);
    // The first installers' lines stand; a switch nobody knows is refused instead of
    // starting an installation the caller didn't ask for.
    if (plain.Action == StartAction::Install && !exporting && !firstUnknown.empty()) {
      plain.Action = StartAction::Usage;
      plain.Problem = "unknown parameter \"" + firstUnknown + "\"";
    }
    SettleCommonSwitches(&plain, interactiveDesktop);
    return plain;
  }

  InstallerOptions options;
  options.Mode = ModeOfSwitches(params);
  std::vector<std::string> switches = params;
  if (nsisFolder) switches.push_back("/D=" + trailingFolder);
  // Every switch is read, so that the log and the mode stand even when one is wrong; the
  // first problem is the one reported.
  auto refuse = [&options](const std::string& problem) {
    if (options.Problem.empty()) options.Problem = problem;
  };
  for (const std::string& param : switches) {
    const bool isSwitch = ReadSwitch(param, &parsed);
    if (isSwitch && ReadCommonSwitch(parsed, &options, &options.Problem)) continue;
    const KnownSwitch* known = isSwitch ? Known(parsed) : nullptr;
    if (!known) {
      refuse("unknown parameter \"" + param + "\"");
      continue;
    }
    if (known->Argument == Takes::Nothing && parsed.HasValue) {
      refuse("/" + parsed.Name + " takes no value");
      continue;
    }
    if (known->Argument == Takes::Value && (!parsed.HasValue || TrimBlanks(parsed.Value).empty())) {
      refuse("/" + parsed.Name + " needs a value: /" + parsed.Name + "=...");
      continue;
    }
    const std::string& name = parsed.Name;
    const std::string value = TrimBlanks(parsed.Value);
    if (HoldsFieldSeparator(value)) {
      refuse("/" + name + " holds the character \xB6, which separates task fields: \"" + value + "\"");
    } else if (name == "DIR" || name == "D") {
      // Judged as it will be used: "\\." is no server once its "\" is added.
      if (IsFullPath(WithTrailingBackslash(value))) {
        options.Destination = WithTrailingBackslash(value);
      } else {
        refuse("/" + name + " is not a full path: \"" + value + "\"");
      }
    } else if (name == "GROUP") {
      options.Group = value;
    } else if (name == "NOICONS") {
      options.NoGroup = true;
    } else if (name == "LANG") {
      options.Language = value;
    } else if (name == "?" || name == "HELP") {
      options.Action = StartAction::Help;
    }
  }
  if (!options.Problem.empty()) options.Action = StartAction::Usage;
  SettleCommonSwitches(&options, interactiveDesktop);
  return options;
}

}  // namespace corvalis
