// Every change the installer and the uninstaller make to the system goes through these
// operations. Results are 1 for success and 0 for failure unless noted. Texts are ANSI.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace corvalis {

// Their settings and seams (the running Windows version, the restart call, the service
// message box and stop timeout) are one record: common/operations_settings.h.

// --- Registry --------------------------------------------------------------------------
// root: HKEY_CLASSES_ROOT, HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE; a null root fails.
// keyPath loses one leading "\". computer: empty for this machine, else the machine
// whose registry RegConnectRegistryA reaches. type: 1 text, 4 number (the value text is
// parsed: decimal, "$" hex, "%" binary).

// The handle of a root of common/registry_roots.h; null for any other number.
HKEY RootKey(std::uint32_t root);

// Writes into an existing key only; 1 whenever the key could be opened.
int SetRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                     const std::string& value, int type, const std::string& computer);
int CreateRegistryKey(HKEY root, const std::string& keyPath, const std::string& computer);
// CreateRegistryKey, then SetRegistryValue.
int WriteRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                       const std::string& value, int type, const std::string& computer);
int DeleteRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                        const std::string& computer);
// One key; on NT a key with subkeys stays.
int DeleteRegistryKey(HKEY root, const std::string& keyPath, const std::string& computer);
// Name of subkey `index`, empty when there is none.
std::string RegistrySubkeyName(HKEY root, const std::string& keyPath, DWORD index,
                               const std::string& computer);
// A text value (REG_SZ or REG_EXPAND_SZ, unexpanded) of this machine's registry; empty when
// the key or value is missing, of another type or longer than 32,767 characters.
std::string ReadRegistryText(HKEY root, const std::string& keyPath, const std::string& valueName);
// The key with all its subkeys. Refuses an empty path or one ending in "\".
int DeleteRegistryTree(HKEY root, const std::string& keyPath, const std::string& computer);

// --- Associations ----------------------------------------------------------------------

// Registers ext (without dot) with program; icon is "file,index". Returns 1.
int AssociateExtension(const std::string& ext, const std::string& description,
                       const std::string& program, const std::string& icon);
// Removes what AssociateExtension wrote for ext and program file name app.
// Returns 1; 0 (nothing touched) when ext or app is empty.
int DisassociateExtension(const std::string& ext, const std::string& app);
// Tells the shell that file associations changed, so it drops what it cached.
void NotifyAssociationsChanged();

// --- Shortcuts -------------------------------------------------------------------------

// ".lnk" is appended to linkPath unless it ends in it (any case). Empty workingFolder:
// the target's folder; empty iconFile: the target.
int CreateShellLink(const std::string& target, const std::string& linkPath,
                    const std::string& arguments, const std::string& description,
                    const std::string& workingFolder, int showCommand, WORD hotKey,
                    const std::string& iconFile, int iconIndex);
int CreateInternetShortcut(const std::string& url, const std::string& filePath);

// --- Files -----------------------------------------------------------------------------

// Creates or replaces path with exactly these bytes, its size checked once it is closed;
// 0 when it can't be written whole: nothing of it is left then, and *error (when given)
// holds the system's reason.
int WriteWholeFile(const std::string& path, const std::string& bytes, unsigned long* error = nullptr);
// A file or folder of that name exists.
bool PathExists(const std::string& path);

// --- Processes, servers, restart, fonts ------------------------------------------------

// Ends every process whose executable name (or its file-name part) equals name, in any
// case, spaces at both ends ignored. Returns the last termination's result, 0 when
// nothing matched.
int KillProcessesByName(const std::string& name);
int TerminateProcessById(DWORD processId);
// The one way both programs start a program (RUN tasks, finish actions, server
// registration, the uninstaller's stages): the shell's default verb, in workingFolder
// (empty: the program's own folder), shown as showCommand says. The shell's error box
// shows only when errorBox asks for it and never in a silent run (common/run_mode.h).
// wait: until the process has ended, with its exit code in *exitCode (when given; -1 when
// no process came to wait for). False when the shell couldn't start it.
bool LaunchProgram(const std::string& program, const std::string& parameters, const std::string& workingFolder,
                   int showCommand, bool wait, bool errorBox = false, int* exitCode = nullptr);
// Runs the system's regsvr32 ("/s" or "/u /s" and the quoted path) and waits for it.
// Non-zero when it could be started.
int RegisterServer(const std::string& filePath, int registerIt);
// 0 on success; 1 token, 2 privilege lookup, 3 privilege enabling, 4 ExitWindowsEx failed.
int ShutdownWindows(UINT flags);
// ShutdownWindows(EWX_REBOOT), with EWX_FORCE when force is not 0. Returns 0.
int RestartComputer(int force);
// Loads fontFile, copies it into %windir%\Fonts\ and registers it as fontName.
int InstallFont(const std::string& fontName, const std::string& fontFile);

// --- Services (NT family only; callers check the system) ---------------------------

// StartServiceA's result.
int StartServiceByName(const std::string& name);
// startType: 0 boot, 1 system, 2 automatic, 3 on demand, 4 disabled; 2 and 3 start the
// new service at once. Shows "Info" messages on failure.
int InstallService(const std::string& name, const std::string& displayName,
                   const std::string& programPath, const std::string& description,
                   int startType);
// ControlService(STOP)'s result.
int StopServiceByName(const std::string& name);
// Stops the service, waits (bounded) until it reports stopped, then deletes it. Returns 0.
int RemoveServiceByName(const std::string& name);
// The service's name for text that is either its name or its display name (what the
// undo log records); empty when the service manager knows neither.
std::string FindServiceName(const std::string& nameOrDisplayName);

}  // namespace corvalis
