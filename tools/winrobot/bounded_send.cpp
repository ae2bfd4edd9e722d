// Wine's SendMessageTimeout returns only once a busy target takes the message again,
// whatever the timeout; so the message goes out on a short-lived thread and the
// caller waits for that thread no longer than the timeout. A thread left behind
// finishes on its own when the target wakes up or ends.
#include "tools/winrobot/robot_internal.h"

namespace winrobot {
namespace {

constexpr SIZE_T kSenderStackBytes = 64 * 1024;

struct SharedCall {
  LONG owners = 2;  // the caller and the sending thread
  HANDLE done = nullptr;
  HWND window = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  bool usesBuffer = false;
  bool wide = false;
  std::vector<char> buffer;
  LRESULT sent = 0;
  DWORD_PTR result = 0;
};

void Release(SharedCall* call) {
  if (InterlockedDecrement(&call->owners) == 0) {
    CloseHandle(call->done);
    delete call;
  }
}

DWORD WINAPI SendOnThread(LPVOID context) {
  SharedCall* call = static_cast<SharedCall*>(context);
  LPARAM lParam = call->usesBuffer ? reinterpret_cast<LPARAM>(call->buffer.data()) : call->lParam;
  UINT flags = SMTO_ABORTIFHUNG | SMTO_BLOCK;
  call->sent = call->wide ? SendMessageTimeoutW(call->window, call->message, call->wParam, lParam, flags,
                                                kMessageTimeoutMs, &call->result)
                          : SendMessageTimeoutA(call->window, call->message, call->wParam, lParam, flags,
                                                kMessageTimeoutMs, &call->result);
  SetEvent(call->done);
  Release(call);
  return 0;
}

}  // namespace

bool SendWithTimeout(HWND w, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result,
                     std::vector<char>* buffer, bool wide) {
  if (result != nullptr) *result = 0;
  if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId()) {
    // Our own window: a plain call, as a thread of ours waiting for us would never get it.
    LPARAM direct = buffer != nullptr ? reinterpret_cast<LPARAM>(buffer->data()) : lParam;
    DWORD_PTR value = 0;
    LRESULT sent = wide ? SendMessageTimeoutW(w, message, wParam, direct, SMTO_BLOCK, kMessageTimeoutMs, &value)
                        : SendMessageTimeoutA(w, message, wParam, direct, SMTO_BLOCK, kMessageTimeoutMs, &value);
    if (result != nullptr) *result = value;
    return sent != 0;
  }
  SharedCall* call = new SharedCall;
  call->done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  call->window = w;
  call->message = message;
  call->wParam = wParam;
  call->lParam = lParam;
  call->usesBuffer = buffer != nullptr;
  call->wide = wide;
  if (buffer != nullptr) call->buffer = *buffer;
  HANDLE thread = call->done == nullptr ? nullptr
                                        : CreateThread(nullptr, kSenderStackBytes, SendOnThread, call,
                                                       STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread == nullptr) {
    Release(call);
    Release(call);
    return false;
  }
  CloseHandle(thread);
  bool answered = WaitForSingleObject(call->done, kMessageTimeoutMs) == WAIT_OBJECT_0 && call->sent != 0;
  if (answered) {
    if (result != nullptr) *result = call->result;
    if (buffer != nullptr) *buffer = call->buffer;
  }
  Release(call);
  return answered;
}

}  // namespace winrobot
