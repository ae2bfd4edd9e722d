// Which encoding the host speaks, from the version text it reports.
#pragma once

// True for versions such as "11.5" or "12.0" (UTF-8 hosts); false for "10.1",
// "8.5" and anything shorter.
bool HostVersionUsesUtf8(const char* versionText);
