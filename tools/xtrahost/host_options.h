// xtrahost's command line: [--host-version <text>] [--without <service>]... <xtra file> [call]...
#pragma once

#include <string>
#include <vector>

struct HostOptions {
  std::string hostVersion = "11.5";
  std::vector<std::string> without;
  std::string xtraPath;
  std::vector<std::string> calls;  // none: calls are read from standard input
};

bool ParseHostOptions(const std::vector<std::string>& args, HostOptions* options, std::string* error);

// The host speaks UTF-8 from version 11 on, the ANSI code page before.
bool HostEncodingIsUtf8(const std::string& hostVersion);

extern const char kHostUsage[];
