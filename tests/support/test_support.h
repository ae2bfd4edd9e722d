// What the Windows tests share: names of their own, files and folders, programs run
// with a bound, registry values and shell links read back, ZIP archives made by hand.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace corvalis::testing {

// A name no other test run uses at the same time.
std::string UniqueName(const std::string& prefix);
// The running test program's folder, where the helper programs are built; ends in "\".
std::string ProgramFolder();
std::string TempPath();
// The shell's folder of that CSIDL, ending in "\".
std::string ShellFolder(int csidl);
// A helper program of tests/support/helpers by its file name ("sleeper.exe").
std::string HelperPath(const std::string& fileName);

// --- Files ---------------------------------------------------------------------------
bool Exists(const std::string& path);
bool IsFolder(const std::string& path);
// The file's bytes; empty when it can't be read.
std::string ReadWholeFile(const std::string& path);
// The uninstaller a package wrote is the shipped one with the product's version resource:
// the same size, and what differs lies within one resource's room. Empty when it is, else
// how it differs.
std::string NotTheShippedUninstaller(const std::string& path);
bool WriteFileText(const std::string& path, const std::string& text);
// Deletes the files of the temporary folder that match pattern ("Sample-Setup-*.log"):
// the logs silent runs leave there.
void RemoveTempFiles(const std::string& pattern);
// Names in the folder of pattern ("C:\x\*"), folders or files, without "." and "..".
std::vector<std::string> ListFolder(const std::string& pattern, bool folders);

// A fresh folder of its own under the temporary folder, ending in "\"; removed by the
// destructor.
struct ScratchFolder {
  explicit ScratchFolder(const std::string& tag);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::string path;
};

struct ZipEntryInput {
  std::string storedName;  // raw bytes as stored (OEM code page, "/")
  std::string data;
  unsigned long dosDate = 0x4ECF6DDD;  // 2019-06-15 13:46:58
  unsigned long externalAttributes = 0x20;
};
// Writes a ZIP file with these entries, deflated, in this order.
bool WriteZip(const std::string& path, const std::vector<ZipEntryInput>& entries);

// --- Programs ------------------------------------------------------------------------
// Starts a program and waits at most timeoutMs; the exit code, or -1 when it couldn't
// start or didn't end in time (it is ended then).
int RunProgram(const std::string& commandLine, DWORD timeoutMs);
// "key=value" lines.
std::map<std::string, std::string> ParseLines(const std::string& text);

// --- Registry and shell links ---------------------------------------------------------
bool KeyExists(HKEY root, const std::string& path);
// A text value, or "<missing>".
std::string ReadText(HKEY root, const std::string& path, const std::string& name);
// A DWORD value, or -1 (also for a value of another type).
long long ReadNumber(HKEY root, const std::string& path, const std::string& name);
// The key with everything below it.
void RemoveTree(HKEY root, const std::string& path);

// A file's or folder's security as the system stores it: the owner's SID ("S-1-5-32-544"),
// whether the DACL is protected from inheritance, and each ACE as "<SID> <flags> <mask>"
// (flags and mask in hex); ok is false when it can't be read.
struct SecurityFields {
  bool ok = false;
  std::string owner;
  bool protectedDacl = false;
  std::vector<std::string> aces;
};
SecurityFields DescribeSecurity(void* descriptor);
SecurityFields ReadSecurity(const std::string& path);

// Wine keeps no security descriptors: it maps a DACL onto the Unix mode bits and reports
// the current user as every file's owner.
bool UnderWine();

// A shell link's fields as IShellLinkA reads them back.
struct LinkFields {
  std::string path, arguments, workingFolder, description, iconFile;
  int showCommand = 0, iconIndex = -1;
  WORD hotKey = 0;
};
bool ReadLink(const std::string& linkPath, LinkFields& fields);

}  // namespace corvalis::testing
