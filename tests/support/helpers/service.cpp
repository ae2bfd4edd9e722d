// A minimal Windows service: reports running and stops on request. Started with the
// argument "stubborn" it ignores stop requests, for the bounded wait of service removal.
#include <windows.h>

#include <cstring>

namespace {

SERVICE_STATUS_HANDLE statusHandle = nullptr;
HANDLE stopEvent = nullptr;
bool stubborn = false;

void Report(DWORD state) {
  SERVICE_STATUS status = {};
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
  SetServiceStatus(statusHandle, &status);
}

void WINAPI Handler(DWORD control) {
  if (control == SERVICE_CONTROL_STOP && !stubborn) {
    Report(SERVICE_STOP_PENDING);
    SetEvent(stopEvent);
  }
}

void WINAPI ServiceMain(DWORD, LPSTR*) {
  statusHandle = RegisterServiceCtrlHandlerA("", Handler);
  if (!statusHandle) return;
  stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  Report(SERVICE_RUNNING);
  // Bounded so that a test that fails half-way leaves no service process for long.
  WaitForSingleObject(stopEvent, 120000);
  Report(SERVICE_STOPPED);
}

}  // namespace

int main(int argc, char** argv) {
  stubborn = argc > 1 && std::strcmp(argv[1], "stubborn") == 0;
  char name[] = "";
  SERVICE_TABLE_ENTRYA table[] = {{name, ServiceMain}, {nullptr, nullptr}};
  return StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
