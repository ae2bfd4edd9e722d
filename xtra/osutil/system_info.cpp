// System facts and folders for selectors 0 to 12.
#include <windows.h>
#include <iphlpapi.h>
#include <shlobj.h>

#include <cstdlib>
#include <cstring>

#include "xtra/osutil/command_line.h"
#include "xtra/osutil/nel_text.h"
#include "xtra/osutil/nel_work.h"
#include "xtra/osutil/os_info.h"
#include "xtra/osutil/path_text.h"
#include "xtra/osutil/system_functions.h"

namespace {

SystemLibrary ipHelper = {"iphlpapi.dll", nullptr, false};

bool ReadVersion(OSVERSIONINFOA* version) {
  std::memset(version, 0, sizeof *version);
  version->dwOSVersionInfoSize = sizeof *version;
  return GetVersionExA(version) != FALSE;
}

}  // namespace

void ProcessNameText(char* out) { JoinCommandLineArguments(GetCommandLineA(), out, kTextBytes); }

void UserNameText(char* out) {
  DWORD size = kTextBytes;
  if (!GetUserNameA(out, &size)) out[0] = '\0';
}

void ComputerNameText(char* out) {
  DWORD size = kTextBytes;
  if (!GetComputerNameA(out, &size)) out[0] = '\0';
}

void OsNameText(char* out) {
  OSVERSIONINFOA version;
  ReadVersion(&version);
  CopyCut(OsNameFor(version.dwMajorVersion, version.dwMinorVersion, version.dwPlatformId), out, kTextBytes);
}

void OsVersionText(char* out) {
  OSVERSIONINFOA version;
  if (!ReadVersion(&version)) return;
  version.szCSDVersion[sizeof version.szCSDVersion - 1] = '\0';
  FormatOsVersion(version.dwMajorVersion, version.dwMinorVersion, version.dwBuildNumber, version.dwPlatformId,
                  version.szCSDVersion, out, kTextBytes);
}

void MacAddressText(char* out) {
  CopyCut(kNoMacAddress, out, kTextBytes);
  using GetAdaptersInfoFn = DWORD(WINAPI*)(PIP_ADAPTER_INFO, PULONG);
  auto getAdaptersInfo = SystemFunctionAs<GetAdaptersInfoFn>(ipHelper, "GetAdaptersInfo");
  if (!getAdaptersInfo) return;
  ULONG size = 0;
  getAdaptersInfo(nullptr, &size);
  if (size == 0) return;
  auto* adapters = static_cast<IP_ADAPTER_INFO*>(std::malloc(size));
  if (!adapters) return;
  if (getAdaptersInfo(adapters, &size) == NO_ERROR) {
    char text[kMacTextBytes];
    for (const IP_ADAPTER_INFO* adapter = adapters; adapter; adapter = adapter->Next) {
      if (FormatMacAddress(adapter->Address, text)) {
        CopyCut(text, out, kTextBytes);
        break;
      }
    }
  }
  std::free(adapters);
}

void SystemIdText(char* out) {
  out[0] = '\0';
  OSVERSIONINFOA version;
  ReadVersion(&version);
  const char* keyPath = version.dwPlatformId == VER_PLATFORM_WIN32_NT ? "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion"
                                                                       : "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return;
  // The value's type isn't checked, so one byte is kept back for the terminator the
  // registry doesn't promise.
  DWORD size = kTextBytes - 1;
  if (RegQueryValueExA(key, "ProductId", nullptr, nullptr, reinterpret_cast<BYTE*>(out), &size) != ERROR_SUCCESS) {
    out[0] = '\0';
  } else {
    out[size < kTextBytes ? size : kTextBytes - 1] = '\0';
  }
  RegCloseKey(key);
}

void FolderText(int csidl, char* out) {
  out[0] = '\0';
  auto* work = static_cast<char*>(std::calloc(kTextBytes, 1));
  if (!work) return;
  bool found = false;
  if (csidl == kTempFolder) {
    const DWORD length = GetTempPathA(kTextBytes, work);
    found = length > 0 && length < kTextBytes;
  } else {
    found = SHGetSpecialFolderPathA(nullptr, work, csidl, FALSE) != FALSE;
  }
  if (found) {
    const DWORD length = GetLongPathNameA(work, out, kTextBytes);
    if (length == 0 || length >= kTextBytes) out[0] = '\0';
    RemoveTrailingBackslash(out);
  }
  std::free(work);
}
