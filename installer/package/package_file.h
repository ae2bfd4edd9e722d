// The installer's own file, opened and checked: the common first steps of the
// preparation and of the "-u" export.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "common/exit_codes.h"
#include "installer/package/package_checks.h"

namespace corvalis {

struct PackageFile {
  HANDLE file = INVALID_HANDLE_VALUE;
  std::int64_t packageEnd = 0;  // the file's length, or where a signature's certificate table starts
  Trailer trailer;
};

// Opens the running module's file into *package, checks the trailer and the free space of
// the temporary folder's drive (A + B, or A alone when countInfoArchive is false). Any
// failure shows its message (owned by owner) and ends the run.
Outcome OpenOwnPackage(HWND owner, bool countInfoArchive, PackageFile* package);

// Exactly bytes bytes of the package at offset into out; false when they can't be read.
bool ReadPackageAt(const PackageFile& package, std::int64_t offset, void* out, std::size_t bytes);

// Creates path for writing, replacing any file of that name; INVALID_HANDLE_VALUE on failure.
HANDLE CreateOutputFile(const std::string& path);

// The message that a temporary file can't be made, naming path: 112 when the volume is
// full (error), else 1603.
Outcome FailTemporaryFile(HWND owner, const std::string& path, unsigned long error = 0);

}  // namespace corvalis
