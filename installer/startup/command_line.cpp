#include "installer/startup/command_line.h"

#include "common/ansi_text.h"
#include "common/command_line.h"

namespace corvalis {

namespace {

enum class Takes { Nothing, Value, MaybeValue };

struct KnownSwitch {
  const char* Name;
  Takes Argument;
};

constexpr KnownSwitch kSwitches[] = {
    {"VERYSILENT", Takes::Nothing}, {"S", Takes::Nothing},          {"QUIET", Takes::Nothing},
    {"SILENT", Takes::Nothing},     {"SUPPRESSMSGBOXES", Takes::Nothing}, {"DIR", Takes::Value},
    {"D", Takes::Value},            {"GROUP", Takes::Value},        {"NOICONS", Takes::Nothing},
    {"LANG", Takes::Value},         {"LOG", Takes::MaybeValue},     {"NORESTART", Takes::Nothing},
    {"FORCERESTART", Takes::Nothing}, {"?", Takes::Nothing},        {"HELP", Takes::Nothing},
};

const KnownSwitch* Known(const std::string& parameter, CommandSwitch* parsed) {
  if (!ReadSwitch(parameter, parsed)) return nullptr;
  for (const KnownSwitch& known : kSwitches) {
    if (parsed->Name == known.Name) return &known;
  }
  return nullptr;
}

// How silent the run is, from every switch that says so: a command line that turns out
// to be wrong must not open a window in a run that asked for none.
RunMode ModeOf(const std::vector<std::string>& params) {
  RunMode mode = RunMode::Interactive;
  CommandSwitch parsed;
  for (const std::string& param : params) {
    if (!ReadSwitch(param, &parsed) || parsed.HasValue) continue;
    if (parsed.Name == "VERYSILENT" || parsed.Name == "S" || parsed.Name == "QUIET") {
      mode = RunMode::VerySilent;
    } else if (parsed.Name == "SILENT" && mode == RunMode::Interactive) {
      mode = RunMode::Silent;
    }
  }
  return mode;
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

InstallerOptions ReadInstallerOptions(const std::string& parameters) {
  std::string before;
  std::string trailingFolder;
  const bool nsisFolder = SplitTrailingFolder(parameters, &before, &trailingFolder);
  const std::vector<std::string> params = SplitParameters(nsisFolder ? before : parameters);

  bool anyKnown = nsisFolder;
  CommandSwitch parsed;
  for (const std::string& param : params) anyKnown = anyKnown || Known(param, &parsed);
  if (!anyKnown || (!params.empty() && params[0] == "-u")) return ReadPlainParameters(params);

  InstallerOptions options;
  options.Mode = ModeOf(params);
  // Silent runs always log, and never restart by themselves.
  options.Log = options.Mode != RunMode::Interactive;
  options.NoRestart = options.Log;
  std::vector<std::string> switches = params;
  if (nsisFolder) switches.push_back("/D=" + trailingFolder);
  // Every switch is read, so that the log and the mode stand even when one is wrong; the
  // first problem is the one reported.
  auto refuse = [&options](const std::string& problem) {
    if (options.Problem.empty()) options.Problem = problem;
  };
  for (const std::string& param : switches) {
    const KnownSwitch* known = Known(param, &parsed);
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
    if (name == "DIR" || name == "D") {
      if (IsFullPath(value)) {
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
    } else if (name == "LOG") {
      options.Log = true;
      options.LogPath = value;
    } else if (name == "NORESTART") {
      options.NoRestart = true;
    } else if (name == "FORCERESTART") {
      options.ForceRestart = true;
    } else if (name == "?" || name == "HELP") {
      options.Action = StartAction::Help;
    }
    // The modes are read already; SUPPRESSMSGBOXES: the silent modes suppress every box.
  }
  if (!options.Problem.empty()) options.Action = StartAction::Usage;
  if (options.ForceRestart) options.NoRestart = false;
  return options;
}

}  // namespace corvalis
