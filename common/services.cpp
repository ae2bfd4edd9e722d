#include <windows.h>

#include "common/message_box.h"
#include "common/operations_settings.h"
#include "common/system_operations.h"

namespace corvalis {
namespace {

constexpr DWORD kManagerAccess = 0xF003F;  // SC_MANAGER_ALL_ACCESS
constexpr DWORD kServiceAccess = 0xF01FF;  // SERVICE_ALL_ACCESS
constexpr DWORD kServiceType = SERVICE_WIN32_OWN_PROCESS | SERVICE_INTERACTIVE_PROCESS;
constexpr DWORD kStopPollMs = 250;

void Inform(const char* text) {
  if (Operations().ServiceMessage) {
    Operations().ServiceMessage(nullptr, text, "Info", MB_OK);
  } else {
    ShowMessageBox(nullptr, text, "Info", MB_OK);
  }
}

class ServiceHandle {
 public:
  explicit ServiceHandle(SC_HANDLE handle = nullptr) : handle_(handle) {}
  ~ServiceHandle() {
    if (handle_) CloseServiceHandle(handle_);
  }
  ServiceHandle(const ServiceHandle&) = delete;
  ServiceHandle& operator=(const ServiceHandle&) = delete;
  SC_HANDLE get() const { return handle_; }

 private:
  SC_HANDLE handle_;
};

SC_HANDLE OpenManager() { return OpenSCManagerA(nullptr, nullptr, kManagerAccess); }

// A service by name with its manager; service.get() is null when either can't be opened.
struct OpenedService {
  explicit OpenedService(const std::string& name)
      : manager(OpenManager()),
        service(manager.get() ? OpenServiceA(manager.get(), name.c_str(), kServiceAccess) : nullptr) {}
  ServiceHandle manager;
  ServiceHandle service;
};

}  // namespace

int StartServiceByName(const std::string& name) {
  OpenedService opened(name);
  SC_HANDLE service = opened.service.get();
  if (!service) return 0;
  return StartServiceA(service, 0, nullptr) ? 1 : 0;
}

int StopServiceByName(const std::string& name) {
  OpenedService opened(name);
  SC_HANDLE service = opened.service.get();
  if (!service) return 0;
  SERVICE_STATUS status = {};
  return ControlService(service, SERVICE_CONTROL_STOP, &status) ? 1 : 0;
}

int RemoveServiceByName(const std::string& name) {
  OpenedService opened(name);
  SC_HANDLE service = opened.service.get();
  if (!service) return 0;
  SERVICE_STATUS status = {};
  ControlService(service, SERVICE_CONTROL_STOP, &status);
  // A service that never stops must not hold the installer or the uninstaller for ever;
  // it is left in place then, as after a failing query.
  const DWORD start = GetTickCount();
  for (;;) {
    if (!QueryServiceStatus(service, &status)) return 0;
    if (status.dwCurrentState == SERVICE_STOPPED) break;
    if (GetTickCount() - start >= Operations().ServiceStopTimeoutMs) return 0;
    Sleep(kStopPollMs);
  }
  DeleteService(service);
  return 0;
}

std::string FindServiceName(const std::string& nameOrDisplayName) {
  if (nameOrDisplayName.empty()) return std::string();
  ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager.get()) return std::string();
  {
    ServiceHandle service(OpenServiceA(manager.get(), nameOrDisplayName.c_str(), SERVICE_QUERY_STATUS));
    if (service.get()) return nameOrDisplayName;
  }
  char name[257] = {};  // service names are at most 256 characters
  DWORD size = sizeof name;
  if (!GetServiceKeyNameA(manager.get(), nameOrDisplayName.c_str(), name, &size)) return std::string();
  return name;
}

int InstallService(const std::string& name, const std::string& displayName,
                   const std::string& programPath, const std::string& description,
                   int startType) {
  int result = 0;
  {
    ServiceHandle manager(OpenManager());
    if (!manager.get()) {
      Inform("Cannot open SCManager ADMIN ?");
      return 0;
    }
    ServiceHandle service(CreateServiceA(manager.get(), name.c_str(), displayName.c_str(),
                                         kServiceAccess, kServiceType,
                                         static_cast<DWORD>(startType), SERVICE_ERROR_NORMAL,
                                         programPath.c_str(), nullptr, nullptr, nullptr,
                                         nullptr, nullptr));
    if (!service.get()) {
      Inform("CreateService Failed");
    } else {
      result = 1;
      SERVICE_STATUS status = {};
      if (!QueryServiceStatus(service.get(), &status)) {
        Inform("QueryServiceStatus Failed");
      } else if (status.dwCurrentState == SERVICE_STOPPED && (startType == 2 || startType == 3)) {
        StartServiceA(service.get(), 0, nullptr);
      }
    }
  }
  // Also for a service that already existed: a second installation updates its text.
  if (!description.empty()) {
    SetRegistryValue(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\" + name,
                     "Description", description, REG_SZ, "");
  }
  return result;
}

}  // namespace corvalis
