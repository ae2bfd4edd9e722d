// Builds an installer: the stub followed by the application archive, the information
// archive and the trailer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mkinstaller {

struct BuilderOptions {
  std::string stubPath;
  std::string appFolder;
  std::string configFolder;
  std::string outputPath;
  int level = 9;  // deflate level: 0 stores, 1 (fastest) to 12 (smallest)
  bool lenient = false;  // a configuration's problems are warnings, as they were once
  // The application archive as a solid 7z archive (LZMA2), made by 7zz, instead of a ZIP.
  bool solid = false;
  // A shell command with "{in}" and "{out}": signs the uninstaller the package carries, then
  // the package itself. Empty: nothing is signed.
  std::string signCommand;
  // Modification times later than this are stored as it (SOURCE_DATE_EPOCH).
  bool clampTimes = false;
  std::int64_t latestTime = 0;  // seconds since 1970-01-01 UTC
};

// Parses the command line (argv without the program name). false with a message in *error.
bool ParseArguments(const std::vector<std::string>& args, BuilderOptions* options, std::string* error);

extern const char* const kUsage;

// Takes the value of SOURCE_DATE_EPOCH (nullptr when unset): decimal seconds since 1970.
// false with a message in *error when it is set but no such number.
bool ReadSourceDateEpoch(const char* value, BuilderOptions* options, std::string* error);

// Checks that stub, folders, Config/Script.ini and a language file are there.
bool ValidateInputs(const BuilderOptions& options, std::string* error);

// Writes the installer. On failure nothing is left at outputPath (a previous file there is
// kept), and *error names what went wrong.
bool BuildPackage(const BuilderOptions& options, std::string* error);

// A UTF-8 name in code page 437, as ZIP entry names are stored; false when a character
// has no place there.
bool Utf8ToCp437(const std::string& utf8, std::string* cp437);
// Whether text is well-formed UTF-8 (what the file system gave; stored as such otherwise).
bool IsUtf8(const std::string& text);

// DOS attribute bits kept in an entry's external attributes.
constexpr std::uint32_t kDosReadOnly = 0x01;
constexpr std::uint32_t kDosDirectory = 0x10;
constexpr std::uint32_t kDosArchive = 0x20;

}  // namespace mkinstaller
