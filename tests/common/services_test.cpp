// Services through Wine's service manager, and server registration through regsvr32,
// with helper programs built beside this test.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/operations_settings.h"
#include "common/system_operations.h"
#include "tests/support/test_support.h"

namespace corvalis {
namespace {

using namespace corvalis::testing;

std::vector<std::string> messages;
int WINAPI RecordMessage(HWND, LPCSTR text, LPCSTR title, UINT type) {
  messages.push_back(std::string(title) + "|" + text + "|" + std::to_string(type));
  return IDOK;
}

// The service's state, or 0 when it can't be opened.
DWORD ServiceState(const std::string& name) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (!manager) return 0;
  DWORD state = 0;
  SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_QUERY_STATUS);
  if (service) {
    SERVICE_STATUS status = {};
    if (QueryServiceStatus(service, &status)) state = status.dwCurrentState;
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
  return state;
}

// Waits up to 30 s for the state (0: the service is gone).
bool WaitForState(const std::string& name, DWORD wanted) {
  for (int i = 0; i < 120; ++i) {
    if (ServiceState(name) == wanted) return true;
    Sleep(250);
  }
  return false;
}

// Leaves nothing behind whatever a test got to.
void ForceRemove(const std::string& name, const std::string& exeName) {
  KillProcessesByName(exeName);
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return;
  SC_HANDLE service = OpenServiceA(manager, name.c_str(), SERVICE_ALL_ACCESS);
  if (service) {
    SERVICE_STATUS status = {};
    ControlService(service, SERVICE_CONTROL_STOP, &status);
    DeleteService(service);
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
}

class ServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    messages.clear();
    OperationsSettings settings;
    settings.ServiceMessage = RecordMessage;
    operations.reset(new ScopedOperationsSettings(settings));
    // A copy under a name of its own, so that clean-up can end exactly its processes.
    exeName = UniqueName("CorvSvc") + ".exe";
    exePath = TempPath() + exeName;
    ASSERT_TRUE(CopyFileA((HelperPath("test_service.exe")).c_str(), exePath.c_str(), FALSE));
  }
  void TearDown() override {
    for (const std::string& name : names) ForceRemove(name, exeName);
    operations.reset();
    for (int i = 0; i < 20 && Exists(exePath) && !DeleteFileA(exePath.c_str()); ++i) Sleep(250);
  }
  std::string NewName() {
    names.push_back(UniqueName("CorvalisSvc") + std::to_string(names.size()));
    return names.back();
  }
  std::string exeName, exePath;
  std::vector<std::string> names;
  std::unique_ptr<ScopedOperationsSettings> operations;
};

TEST_F(ServiceTest, InstallStartStopRemove) {
  const std::string name = NewName();
  const std::string descriptionKey = "SYSTEM\\CurrentControlSet\\Services\\" + name;
  ASSERT_EQ(InstallService(name, "Corvalis Test " + name, exePath, "Made by the engine test", 3), 1);
  EXPECT_TRUE(messages.empty());
  EXPECT_TRUE(WaitForState(name, SERVICE_RUNNING)) << "start type 3 starts at once";
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, descriptionKey, "Description"), "Made by the engine test");

  // A name already taken: message and failure, but a second installation still brings
  // its description.
  EXPECT_EQ(InstallService(name, "Other", exePath, "Replaced", 3), 0);
  EXPECT_EQ(messages, (std::vector<std::string>{"Info|CreateService Failed|0"}));
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, descriptionKey, "Description"), "Replaced");

  EXPECT_EQ(StopServiceByName(name), 1);
  EXPECT_TRUE(WaitForState(name, SERVICE_STOPPED));
  EXPECT_EQ(StopServiceByName(name), 0);
  EXPECT_EQ(StartServiceByName(name), 1);
  EXPECT_TRUE(WaitForState(name, SERVICE_RUNNING));

  EXPECT_EQ(RemoveServiceByName(name), 0);
  EXPECT_TRUE(WaitForState(name, 0)) << "the service is deleted";
  EXPECT_EQ(StartServiceByName(name), 0);
  EXPECT_EQ(StopServiceByName(name), 0);
  EXPECT_EQ(RemoveServiceByName(name), 0);
}

TEST_F(ServiceTest, DisabledServiceIsNotStarted) {
  const std::string name = NewName();
  ASSERT_EQ(InstallService(name, name, exePath, "", 4), 1);
  Sleep(1000);
  EXPECT_EQ(ServiceState(name), static_cast<DWORD>(SERVICE_STOPPED));
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\" + name, "Description"),
            "<missing>");
  EXPECT_EQ(RemoveServiceByName(name), 0);
  EXPECT_TRUE(WaitForState(name, 0));
  EXPECT_TRUE(messages.empty());
}

TEST_F(ServiceTest, RemovalGivesUpOnAServiceThatNeverStops) {
  const std::string name = NewName();
  ASSERT_EQ(InstallService(name, name, "\"" + exePath + "\" stubborn", "", 3), 1);
  ASSERT_TRUE(WaitForState(name, SERVICE_RUNNING));
  OperationsSettings quick = Operations();
  quick.ServiceStopTimeoutMs = 2000;
  ScopedOperationsSettings quickStop(quick);
  const DWORD start = GetTickCount();
  EXPECT_EQ(RemoveServiceByName(name), 0);
  const DWORD took = GetTickCount() - start;
  EXPECT_GE(took, 1900u);
  EXPECT_LT(took, 15000u);
  // Given up: still there, still running.
  EXPECT_EQ(ServiceState(name), static_cast<DWORD>(SERVICE_RUNNING));
}

class ServerTest : public ::testing::Test {
 protected:
  void TearDown() override {
    DeleteFileA(dll.c_str());
    RemoveDirectoryA(folder.c_str());
    RemoveTree(HKEY_CURRENT_USER, "Software\\CorvalisEngineTests\\Servers");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\CorvalisEngineTests");
  }
  const std::string folder = TempPath() + UniqueName("corv server ") + "\\";
  const std::string dll = folder + "test server.dll";
};

TEST_F(ServerTest, RegisterAndUnregisterAPathWithSpaces) {
  ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
  ASSERT_TRUE(CopyFileA((HelperPath("test_server.dll")).c_str(), dll.c_str(), FALSE));
  const std::string key = "Software\\CorvalisEngineTests\\Servers";

  EXPECT_NE(RegisterServer(dll, 1), 0);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, key, dll), "registered");
  EXPECT_NE(RegisterServer(dll, 0), 0);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, key, dll), "<missing>");

  // NT 4 looks for regsvr32 under WINNT\System32, which this system lacks: neither the
  // process nor the shell can start it.
  {
    OperationsSettings nt4;
    nt4.OsVersionCode = kOsNt4;
    ScopedOperationsSettings onNt4(nt4);
    EXPECT_EQ(RegisterServer(dll, 1), 0);
  }
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, key, dll), "<missing>");
}

}  // namespace
}  // namespace corvalis
