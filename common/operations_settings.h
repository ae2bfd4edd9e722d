// The one settings record of the system operations: set once at start-up of each
// program, swapped by tests with ScopedOperationsSettings.
#pragma once

#include <windows.h>

#include "common/os_family.h"

namespace corvalis {

using ExitWindowsFunction = BOOL(WINAPI*)(UINT flags, DWORD reason);
using MessageBoxFunction = int(WINAPI*)(HWND owner, LPCSTR text, LPCSTR title, UINT type);
using ConnectRegistryFunction = LONG(WINAPI*)(LPCSTR computer, HKEY root, PHKEY result);

struct OperationsSettings {
  // The start-up classification of the running Windows.
  int OsVersionCode = kOsUnknown;
  // The final call of ShutdownWindows; null: ExitWindowsEx.
  ExitWindowsFunction ExitWindows = nullptr;
  // How the registry operations reach another machine's root; null: RegConnectRegistryA.
  ConnectRegistryFunction ConnectRegistry = nullptr;
  // The message box of the service operations; null: ShowMessageBox (common/message_box.h).
  MessageBoxFunction ServiceMessage = nullptr;
  // How long RemoveServiceByName waits for the service to report stopped.
  DWORD ServiceStopTimeoutMs = 30000;
};

const OperationsSettings& Operations();
void SetOperations(const OperationsSettings& settings);

// Installs settings for its lifetime and restores the earlier ones afterwards.
class ScopedOperationsSettings {
 public:
  explicit ScopedOperationsSettings(const OperationsSettings& settings) : saved_(Operations()) {
    SetOperations(settings);
  }
  ~ScopedOperationsSettings() { SetOperations(saved_); }
  ScopedOperationsSettings(const ScopedOperationsSettings&) = delete;
  ScopedOperationsSettings& operator=(const ScopedOperationsSettings&) = delete;

 private:
  OperationsSettings saved_;
};

}  // namespace corvalis
