// Helpers shared by the engine's Wine tests: unique names, the helper programs built
// beside the test, bounded program runs, registry look-ups and shell links read back.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <map>
#include <string>

namespace corvalis::testing {

// A name no other test run uses at the same time.
inline std::string UniqueName(const std::string& prefix) {
  return prefix + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount() % 100000);
}

// The folder of the running test program, where the helper programs are built.
inline std::string OwnFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text = path;
  return text.substr(0, text.find_last_of("\\/") + 1);
}

inline std::string TempPath() {
  char path[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, path);
  return path;
}

inline bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

inline std::string ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string content;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  CloseHandle(file);
  return content;
}

// Starts a program and waits at most timeoutMs; the exit code, or -1 when it couldn't
// start or didn't end in time (it is ended then).
inline int RunProgram(const std::string& commandLine, DWORD timeoutMs) {
  std::string line = commandLine;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.hProcess, &code);
  } else {
    TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(code);
}

// "key=value" lines.
inline std::map<std::string, std::string> ParseLines(const std::string& text) {
  std::map<std::string, std::string> values;
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t end = text.find('\n', from);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(from, end - from);
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
    from = end + 1;
  }
  return values;
}


inline bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// A text value, or "<missing>".
inline std::string ReadText(HKEY root, const std::string& path, const std::string& name) {
  char buffer[1024] = {};
  DWORD size = sizeof buffer - 1;
  DWORD type = 0;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<missing>";
  const LONG read = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  return read == ERROR_SUCCESS && type == REG_SZ ? std::string(buffer) : "<missing>";
}

// A DWORD value, or -1 (also for a value of another type).
inline long long ReadNumber(HKEY root, const std::string& path, const std::string& name) {
  DWORD value = 0;
  DWORD size = sizeof value;
  DWORD type = 0;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return -1;
  const LONG read = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return read == ERROR_SUCCESS && type == REG_DWORD ? static_cast<long long>(value) : -1;
}

// A shell link's fields as IShellLinkA reads them back.
struct LinkFields {
  std::string path, arguments, workingFolder, description, iconFile;
  int showCommand = 0, iconIndex = -1;
  WORD hotKey = 0;
};

inline bool ReadLink(const std::string& linkPath, LinkFields& fields) {
  if (FAILED(CoInitialize(nullptr))) return false;
  bool ok = false;
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t wide[MAX_PATH] = {};
      MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide, MAX_PATH);
      if (SUCCEEDED(file->Load(wide, STGM_READ))) {
        char text[MAX_PATH] = {};
        link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
        fields.path = text;
        link->GetArguments(text, MAX_PATH);
        fields.arguments = text;
        link->GetWorkingDirectory(text, MAX_PATH);
        fields.workingFolder = text;
        link->GetDescription(text, MAX_PATH);
        fields.description = text;
        link->GetIconLocation(text, MAX_PATH, &fields.iconIndex);
        fields.iconFile = text;
        link->GetShowCmd(&fields.showCommand);
        link->GetHotkey(&fields.hotKey);
        ok = true;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  return ok;
}

inline void RemoveTree(HKEY root, const std::string& path) {
  // Leaf first; RegDeleteKeyA won't take a key with subkeys.
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    char name[256];
    std::string previous;
    for (;;) {
      DWORD length = sizeof name;
      if (RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      if (previous == name) break;
      previous = name;
      RemoveTree(root, path + "\\" + name);
    }
    RegCloseKey(key);
  }
  RegDeleteKeyA(root, path.c_str());
}

}  // namespace corvalis::testing
