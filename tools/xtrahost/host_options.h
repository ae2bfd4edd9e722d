// xtrahost's command line:
// [--host-version <text>] [--without <service>]... [--fail <fault>]... <xtra file> [call]...
#pragma once

#include <string>
#include <vector>

struct HostOptions {
  std::string hostVersion = "11.5";
  std::vector<std::string> without;
  std::vector<std::string> faults;
  std::string xtraPath;
  std::vector<std::string> calls;  // none: calls are read from standard input
};

bool ParseHostOptions(const std::vector<std::string>& args, HostOptions* options, std::string* error);

extern const char kHostUsage[];
