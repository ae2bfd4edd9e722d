// The codes of OsVersionCode and the families they form. Every comparison of a version
// code goes through these predicates, so the installer, the uninstaller and the path
// variables cannot disagree about what "9x" or "old" means.
#pragma once

namespace corvalis {

constexpr int kOsNt3 = 5;
constexpr int kOsWindows95 = 10;
constexpr int kOsNt4 = 20;
constexpr int kOsWindows98 = 30;
constexpr int kOsWindowsMe = 40;
constexpr int kOsWindows2000 = 50;
constexpr int kOsWindowsXp = 60;
constexpr int kOsServer2003 = 65;
constexpr int kOsVistaWorkstation = 70;  // major version 6, workstation
constexpr int kOsVistaServer = 75;       // major version 6, any other product type
constexpr int kOsUnknown = 100;

// NT 4, Windows 2000 and later (and an unknown version, taken as a newer one).
inline bool IsNtFamily(int code) { return code == kOsNt4 || code >= kOsWindows2000; }
// Windows 95, 98 and ME.
inline bool Is9xFamily(int code) {
  return code == kOsWindows95 || code == kOsWindows98 || code == kOsWindowsMe;
}
// Windows 98 and ME: the systems whose folders are fixed below "WINDOWS\".
inline bool Is98OrMe(int code) { return code == kOsWindows98 || code == kOsWindowsMe; }
inline bool IsNt4(int code) { return code == kOsNt4; }
// Before Windows 2000: no common shell folders, no administrator test.
inline bool IsBefore2000(int code) { return code < kOsWindows2000; }
// Windows 95 and NT 3: refused at start-up.
inline bool IsUnsupported(int code) { return code < kOsNt4; }

// True when bits 16 to 23 of GetVersion are not all zero (the NT family's build number;
// 0 on Windows 9x). Chooses the association and PureBasic registry layouts. Windows only.
bool VersionBuildBitsSet();

}  // namespace corvalis
