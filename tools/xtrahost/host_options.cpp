#include "tools/xtrahost/host_options.h"

#include <cctype>
#include <cstdlib>

const char kHostUsage[] =
    "usage: xtrahost [--host-version <text>] [--without <service>]... <xtra file> [call]...\n"
    "  --host-version <text>  version the host reports (default 11.5; 11 and up speak UTF-8)\n"
    "  --without <service>    withhold a service: value, list, player, appinfo, colour,\n"
    "                         auxiliary, stage\n"
    "  call                   a Lingo call such as GetOSName() or SendUDPMessage(\"127.0.0.1\", 5000, \"hi\");\n"
    "                         without calls, one call per line is read from standard input\n";

bool ParseHostOptions(const std::vector<std::string>& args, HostOptions* options, std::string* error) {
  size_t i = 0;
  for (; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--host-version" || arg == "--without") {
      if (i + 1 >= args.size()) {
        *error = arg + " needs a value";
        return false;
      }
      if (arg == "--host-version") {
        options->hostVersion = args[++i];
      } else {
        options->without.push_back(args[++i]);
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

bool HostEncodingIsUtf8(const std::string& hostVersion) {
  if (hostVersion.empty() || !std::isdigit(static_cast<unsigned char>(hostVersion[0]))) return false;
  return std::atoi(hostVersion.c_str()) >= 11;
}
