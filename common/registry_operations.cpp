#include <windows.h>

#include "common/ini_file.h"
#include "common/operations_settings.h"
#include "common/registry_roots.h"
#include "common/system_operations.h"

namespace corvalis {
namespace {

constexpr REGSAM kAllAccess = 0xF003F;
constexpr DWORD kSubkeyNameChars = 255;

std::string DropLeadingBackslash(const std::string& keyPath) {
  return !keyPath.empty() && keyPath[0] == '\\' ? keyPath.substr(1) : keyPath;
}

// The root to work on: the local one, or the same root of another machine.
class RegistryRoot {
 public:
  RegistryRoot(HKEY root, const std::string& computer) {
    if (!root) return;
    if (computer.empty()) {
      key_ = root;
    } else if (Connect()(computer.c_str(), root, &key_) == ERROR_SUCCESS) {
      remote_ = true;
    } else {
      key_ = nullptr;
    }
  }
  ~RegistryRoot() {
    if (remote_) RegCloseKey(key_);
  }
  RegistryRoot(const RegistryRoot&) = delete;
  RegistryRoot& operator=(const RegistryRoot&) = delete;
  HKEY get() const { return key_; }

 private:
  static ConnectRegistryFunction Connect() {
    return Operations().ConnectRegistry ? Operations().ConnectRegistry : ::RegConnectRegistryA;
  }
  HKEY key_ = nullptr;
  bool remote_ = false;
};

class OpenKey {
 public:
  OpenKey(HKEY root, const std::string& keyPath) {
    if (root && RegOpenKeyExA(root, keyPath.c_str(), 0, kAllAccess, &key_) != ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

HKEY RootKey(std::uint32_t root) {
  switch (root) {
    case kRootClasses: return HKEY_CLASSES_ROOT;
    case kRootCurrentUser: return HKEY_CURRENT_USER;
    case kRootLocalMachine: return HKEY_LOCAL_MACHINE;
    default: return nullptr;
  }
}

int SetRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                     const std::string& value, int type, const std::string& computer) {
  RegistryRoot base(root, computer);
  OpenKey key(base.get(), DropLeadingBackslash(keyPath));
  if (!key.get()) return 0;
  if (type == REG_SZ) {
    RegSetValueExA(key.get(), valueName.c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  } else if (type == REG_DWORD) {
    const DWORD number = static_cast<DWORD>(ParseInteger(value));
    RegSetValueExA(key.get(), valueName.c_str(), 0, REG_DWORD,
                   reinterpret_cast<const BYTE*>(&number), sizeof number);
  }
  return 1;
}

int CreateRegistryKey(HKEY root, const std::string& keyPath, const std::string& computer) {
  RegistryRoot base(root, computer);
  if (!base.get()) return 0;
  HKEY key = nullptr;
  if (RegCreateKeyExA(base.get(), DropLeadingBackslash(keyPath).c_str(), 0, nullptr, 0,
                      kAllAccess, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return 0;
  }
  RegCloseKey(key);
  return 1;
}

int WriteRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                       const std::string& value, int type, const std::string& computer) {
  CreateRegistryKey(root, keyPath, computer);
  return SetRegistryValue(root, keyPath, valueName, value, type, computer);
}

int DeleteRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                        const std::string& computer) {
  RegistryRoot base(root, computer);
  OpenKey key(base.get(), DropLeadingBackslash(keyPath));
  if (!key.get()) return 0;
  return RegDeleteValueA(key.get(), valueName.c_str()) == ERROR_SUCCESS ? 1 : 0;
}

int DeleteRegistryKey(HKEY root, const std::string& keyPath, const std::string& computer) {
  const std::string path = DropLeadingBackslash(keyPath);
  // An empty path would name the root itself.
  if (path.empty()) return 0;
  RegistryRoot base(root, computer);
  if (!base.get()) return 0;
  return RegDeleteKeyA(base.get(), path.c_str()) == ERROR_SUCCESS ? 1 : 0;
}

std::string RegistrySubkeyName(HKEY root, const std::string& keyPath, DWORD index,
                               const std::string& computer) {
  RegistryRoot base(root, computer);
  OpenKey key(base.get(), DropLeadingBackslash(keyPath));
  if (!key.get()) return std::string();
  char name[kSubkeyNameChars + 1] = {};
  DWORD length = kSubkeyNameChars + 1;
  if (RegEnumKeyExA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
      ERROR_SUCCESS) {
    return std::string();
  }
  return std::string(name, length);
}

std::string ReadRegistryText(HKEY root, const std::string& keyPath, const std::string& valueName) {
  constexpr DWORD kMaxTextBytes = 32767;
  OpenKey key(root, DropLeadingBackslash(keyPath));
  if (!key.get()) return std::string();
  std::string text(kMaxTextBytes + 1, '\0');
  DWORD size = kMaxTextBytes;
  DWORD type = 0;
  if (RegQueryValueExA(key.get(), valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&text[0]), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    return std::string();
  }
  // The stored bytes need not end in a NUL.
  text.resize(size);
  text.resize(text.find('\0') == std::string::npos ? size : text.find('\0'));
  return text;
}

int DeleteRegistryTree(HKEY root, const std::string& keyPath, const std::string& computer) {
  const std::string path = DropLeadingBackslash(keyPath);
  // An empty name (say, an association for an empty file name) must not turn into the
  // whole root or a whole parent key.
  if (path.empty() || path.back() == '\\') return 0;
  std::string previous;
  for (;;) {
    const std::string name = RegistrySubkeyName(root, path, 0, computer);
    // The same name twice: nothing left, or a subkey that can't be deleted.
    if (name == previous) break;
    previous = name;
    DeleteRegistryTree(root, path + "\\" + name, computer);
  }
  return DeleteRegistryKey(root, path, computer);
}

}  // namespace corvalis
