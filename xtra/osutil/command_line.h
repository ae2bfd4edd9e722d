// The process's command line as its arguments, the way the C runtime splits them.
#pragma once

#include <cstddef>

// The arguments of commandLine joined by carriage returns into out (n bytes, cut at
// n - 1). The program path is taken up to its closing quote or first blank; the other
// arguments follow the runtime's quote and backslash rules.
void JoinCommandLineArguments(const char* commandLine, char* out, size_t n);
