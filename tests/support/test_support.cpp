#include "tests/support/test_support.h"

#include <minizip/zip.h>
#include <objbase.h>
#include <shlobj.h>
#include <sddl.h>

#include <cstdio>

#include "common/folder_tree.h"
#include "tools/winrobot/winrobot.h"

namespace corvalis::testing {

std::string UniqueName(const std::string& prefix) {
  return prefix + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount() % 100000);
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string text = path;
  return text.substr(0, text.find_last_of("\\/") + 1);
}

std::string TempPath() {
  char path[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, path);
  return path;
}

std::string ShellFolder(int csidl) {
  char path[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
  return std::string(path) + "\\";
}

std::string HelperPath(const std::string& fileName) {
  return winrobot::UnixToWindowsPath(CORVALIS_HELPERS_DIR "/" + fileName);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string content;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) content.append(buffer, got);
  CloseHandle(file);
  return content;
}

std::string NotTheShippedUninstaller(const std::string& path) {
  constexpr std::size_t kVersionResourceRoom = 2048;
  const std::string written = ReadWholeFile(path);
  const std::string shipped = ReadWholeFile(winrobot::DistFilePath("Uninstaller.exe"));
  if (shipped.empty() || written.size() != shipped.size()) {
    return path + " is " + std::to_string(written.size()) + " bytes, the shipped one " + std::to_string(shipped.size());
  }
  std::size_t first = 0, last = written.size();
  while (first < written.size() && written[first] == shipped[first]) ++first;
  while (last > first && written[last - 1] == shipped[last - 1]) --last;
  if (last - first <= kVersionResourceRoom) return std::string();
  return path + " differs from the shipped uninstaller in " + std::to_string(last - first) + " bytes";
}

bool WriteFileText(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == text.size();
}

std::vector<std::string> ListFolder(const std::string& pattern, bool folders) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (name != "." && name != ".." && isFolder == folders) names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

void RemoveTempFiles(const std::string& pattern) {
  for (const std::string& name : ListFolder(TempPath() + pattern, false)) DeleteFileA((TempPath() + name).c_str());
}

ScratchFolder::ScratchFolder(const std::string& tag) {
  static int counter = 0;
  path = TempPath() + "cvtest_" + tag + "_" + std::to_string(GetCurrentProcessId()) + "_" +
         std::to_string(++counter) + "\\";
  DeleteFolderTree(path);
  CreateDirectoryA(path.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { DeleteFolderTree(path); }

bool WriteZip(const std::string& path, const std::vector<ZipEntryInput>& entries) {
  zipFile zip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
  if (!zip) return false;
  bool ok = true;
  for (const ZipEntryInput& entry : entries) {
    zip_fileinfo info = {};
    info.dosDate = entry.dosDate;
    info.external_fa = entry.externalAttributes;
    ok = ok && zipOpenNewFileInZip(zip, entry.storedName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                   Z_DEFLATED, 6) == ZIP_OK;
    if (ok && !entry.data.empty()) {
      ok = zipWriteInFileInZip(zip, entry.data.data(), static_cast<unsigned>(entry.data.size())) == ZIP_OK;
    }
    ok = ok && zipCloseFileInZip(zip) == ZIP_OK;
  }
  return zipClose(zip, nullptr) == ZIP_OK && ok;
}

int RunProgram(const std::string& commandLine, DWORD timeoutMs) {
  std::string line = commandLine;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                      &process)) {
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

std::map<std::string, std::string> ParseLines(const std::string& text) {
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

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::string ReadText(HKEY root, const std::string& path, const std::string& name) {
  char buffer[1024] = {};
  DWORD size = sizeof buffer - 1;
  DWORD type = 0;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<missing>";
  const LONG read = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  return read == ERROR_SUCCESS && type == REG_SZ ? std::string(buffer) : "<missing>";
}

long long ReadNumber(HKEY root, const std::string& path, const std::string& name) {
  DWORD value = 0;
  DWORD size = sizeof value;
  DWORD type = 0;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return -1;
  const LONG read = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return read == ERROR_SUCCESS && type == REG_DWORD ? static_cast<long long>(value) : -1;
}

void RemoveTree(HKEY root, const std::string& path) {
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

SecurityFields DescribeSecurity(void* descriptor) {
  SecurityFields fields;
  if (!descriptor) return fields;
  auto sidText = [](PSID sid) {
    char* text = nullptr;
    std::string result = sid && ConvertSidToStringSidA(sid, &text) ? text : "";
    if (text) LocalFree(text);
    return result;
  };
  PSID owner = nullptr;
  BOOL defaulted = FALSE;
  GetSecurityDescriptorOwner(descriptor, &owner, &defaulted);
  fields.owner = sidText(owner);
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  GetSecurityDescriptorControl(descriptor, &control, &revision);
  fields.protectedDacl = (control & SE_DACL_PROTECTED) != 0;
  BOOL present = FALSE;
  PACL dacl = nullptr;
  GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
  for (DWORD i = 0; present && dacl && i < dacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(dacl, i, &ace)) continue;
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    char flags[32];
    std::snprintf(flags, sizeof flags, " %02x %08lx", allowed->Header.AceFlags, allowed->Mask);
    fields.aces.push_back((allowed->Header.AceType == ACCESS_ALLOWED_ACE_TYPE ? "" : "not allowed ") +
                          sidText(&allowed->SidStart) + flags);
  }
  fields.ok = true;
  return fields;
}

SecurityFields ReadSecurity(const std::string& path) {
  const SECURITY_INFORMATION wanted = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  DWORD size = 0;
  GetFileSecurityA(path.c_str(), wanted, nullptr, 0, &size);
  std::vector<char> buffer(size + 1);
  auto* descriptor = reinterpret_cast<PSECURITY_DESCRIPTOR>(buffer.data());
  if (!size || !GetFileSecurityA(path.c_str(), wanted, descriptor, size, &size)) return SecurityFields();
  return DescribeSecurity(descriptor);
}

bool UnderWine() {
  return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

bool ReadLink(const std::string& linkPath, LinkFields& fields) {
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

}  // namespace corvalis::testing
