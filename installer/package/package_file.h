// The installer's own file, opened and checked: the common first steps of the
// preparation and of the "-u" export.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "installer/package/package_checks.h"

namespace corvalis {

struct PackageFile {
  HANDLE file = INVALID_HANDLE_VALUE;
  std::int64_t packageEnd = 0;  // the file's length, or where a signature's certificate table starts
  Trailer trailer;
};

// Opens the running module's file, checks the trailer and the free space of the temporary
// folder's drive (A + B, or A alone when countInfoArchive is false). Any failure shows its
// message (owned by owner) and ends the installer.
PackageFile OpenOwnPackage(HWND owner, bool countInfoArchive);

// Creates path for writing, replacing any file of that name; INVALID_HANDLE_VALUE on failure.
HANDLE CreateOutputFile(const std::string& path);

// Message 5 naming path, then AbortInstaller.
[[noreturn]] void FailTemporaryFile(HWND owner, const std::string& path);

}  // namespace corvalis
