#include "tools/xtrahost/host_options.h"

#include <cstddef>

const char kHostUsage[] =
    "usage: xtrahost [--host-version <text>] [--without <service>]... [--fail <fault>]... <xtra file> [call]...\n"
    "  --host-version <text>  version the host reports (default 11.5; 11.x and 12.x speak UTF-8,\n"
    "                         10.x and one-digit versions the ANSI code page)\n"
    "  --without <service>    withhold a service: value, list, player, appinfo, colour,\n"
    "                         auxiliary, movie, stage\n"
    "  --fail <fault>         make a host operation fail: entry (adding the registry entry),\n"
    "                         put (storing a registry value), info (the version query),\n"
    "                         window (the stage's native window)\n"
    "  call                   a Lingo call such as GetOSName() or SendUDPMessage(\"127.0.0.1\", 5000, \"hi\"),\n"
    "                         or sleep(ms) to pause; without calls, one line is read at a time\n"
    "                         from standard input\n";

bool ParseHostOptions(const std::vector<std::string>& args, HostOptions* options, std::string* error) {
  size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--host-version" || arg == "--without" || arg == "--fail") {
      if (i + 1 >= args.size()) {
        *error = arg + " needs a value";
        return false;
      }
      const std::string& value = args[++i];
      if (arg == "--host-version") {
        options->hostVersion = value;
      } else if (arg == "--without") {
        options->without.push_back(value);
      } else {
        options->faults.push_back(value);
      }
    } else if (arg.compare(0, 2, "--") == 0) {
      *error = "unknown option " + arg;
      return false;
    } else {
      break;
    }
  }
  if (i >= args.size()) {
    *error = "no Xtra file given";
    return false;
  }
  options->xtraPath = args[i++];
  options->calls.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
  return true;
}
