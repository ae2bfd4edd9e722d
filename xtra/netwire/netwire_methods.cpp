// Method handlers of "NetWireXtra", by selector; "new object me" is selector 0
// and has no handler. Each handler asks for the services it uses and releases
// them before it returns; host values are made only here, on the scripting thread.
#include <cstdlib>

#include "xtra/netwire/netwire_net.h"
#include "xtra/netwire/netwire_xtra.h"

namespace {

constexpr char kSentPrefix[] = "Sent message to:";
constexpr size_t kSentTextBytes = 256;

// A service held for one handler.
template <class T>
struct HeldService {
  T* service = nullptr;
  HeldService(IMoaMmXScript* script, const XtraGuid& interfaceId) { AcquireService(script, interfaceId, &service); }
  ~HeldService() {
    if (service) XtraRelease(service);
  }
  HeldService(const HeldService&) = delete;
  HeldService& operator=(const HeldService&) = delete;
};

using ValueService = HeldService<NetValueService>;
using ListServiceHeld = HeldService<ListService>;

ValueService Values(IMoaMmXScript* script) { return ValueService(script, kIID_NetValueService); }

int32_t ReadInteger(NetValueService* values, const HostValue& value) {
  int32_t number = 0;
  values->ops->ValueToInteger(values, &value, &number);
  return number;
}

// A malloc'd copy of the argument's text; null only when memory is short.
char* ReadString(NetValueService* values, const HostValue& value) {
  int32_t length = 0;
  if (values->ops->StringLength(values, &value, &length) != kXtraOk || length < 0) length = 0;
  char* text = static_cast<char*>(std::calloc(static_cast<size_t>(length) + 2, 1));
  if (text) values->ops->ValueToString(values, &value, text, length + 1);
  return text;
}

void SetInteger(NetValueService* values, XtraCallRecord* call, int32_t number) {
  values->ops->IntegerToValue(values, number, &call->result);
}

void SetString(NetValueService* values, XtraCallRecord* call, const char* text) {
  values->ops->StringToValue(values, text, &call->result);
}

// Decimal text of a number into out (at least 12 bytes); returns the end.
char* AppendDecimal(char* out, int32_t number) {
  char digits[11];
  int count = 0;
  uint32_t magnitude = number < 0 ? 0u - static_cast<uint32_t>(number) : static_cast<uint32_t>(number);
  do {
    digits[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude);
  if (number < 0) *out++ = '-';
  while (count) *out++ = digits[--count];
  *out = '\0';
  return out;
}

// "Sent message to:<address>:<port>", cut inside the address when it is too long.
void FormatSentText(char (&out)[kSentTextBytes], const char* address, int32_t port) {
  constexpr size_t kPortRoom = 13;  // ':' and up to 11 characters of a port, and the NUL
  char* end = out;
  for (const char* c = kSentPrefix; *c; ++c) *end++ = *c;
  while (*address && end < out + kSentTextBytes - kPortRoom) *end++ = *address++;
  *end++ = ':';
  AppendDecimal(end, port);
}

struct ListBuilder {
  NetValueService* values;
  ListService* lists;
  HostValue* list;
};

void AppendString(void* context, const char* text) {
  ListBuilder* builder = static_cast<ListBuilder*>(context);
  HostValue item;
  if (builder->values->ops->StringToValue(builder->values, text, &item) == kXtraOk) {
    builder->lists->ops->Append(builder->lists, builder->list, &item);
  }
}

void GetLocalIP(IMoaMmXScript* script, XtraCallRecord* call) {
  ValueService values = Values(script);
  ListServiceHeld lists(script, kIID_ListService);
  if (!values.service || !lists.service) return;
  HostValue list;
  if (lists.service->ops->NewList(lists.service, &list) != kXtraOk) return;
  ListBuilder builder = {values.service, lists.service, &list};
  if (ListLocalAddresses(&AppendString, &builder)) {
    call->result = list;
  } else {
    SetInteger(values.service, call, -1);
  }
}

// The three arguments of both send methods; null texts when memory is short.
struct SendArguments {
  char* address;
  int32_t port;
  char* message;
};

SendArguments ReadSendArguments(NetValueService* values, const XtraCallRecord* call) {
  char* address = ReadString(values, call->args[1]);
  const int32_t port = ReadInteger(values, call->args[2]);
  return {address, port, ReadString(values, call->args[3])};
}

void SendUDPMessage(IMoaMmXScript* script, XtraCallRecord* call) {
  ValueService values = Values(script);
  if (!values.service) return;
  const SendArguments send = ReadSendArguments(values.service, call);
  if (send.address && send.message) {
    SendUdpMessage(send.address, send.port, send.message);
    char text[kSentTextBytes];
    FormatSentText(text, send.address, send.port);
    SetString(values.service, call, text);
  }
  std::free(send.address);
  std::free(send.message);
}

void SendTCPMessage(IMoaMmXScript* script, XtraCallRecord* call) {
  ValueService values = Values(script);
  if (!values.service) return;
  const SendArguments send = ReadSendArguments(values.service, call);
  if (send.address && send.message) {
    SendTcpMessage(send.address, send.port, send.message);
  } else {
    std::free(send.address);
    std::free(send.message);
  }
  SetInteger(values.service, call, 1);
}

// Listeners report nothing: the text comes back before the thread has bound.
void StartListener(IMoaMmXScript* script, XtraCallRecord* call, void (*start)(int32_t port), const char* text) {
  ValueService values = Values(script);
  if (!values.service) return;
  SetListenersStopped(false);
  start(ReadInteger(values.service, call->args[1]));
  SetString(values.service, call, text);
}

void WaitForUDP(IMoaMmXScript* script, XtraCallRecord* call) {
  StartListener(script, call, &StartUdpListener, "Monitoring UDP Connections...");
}

void WaitForTCP(IMoaMmXScript* script, XtraCallRecord* call) {
  StartListener(script, call, &StartTcpAcceptor, "Monitoring TCP Connections...");
}

void HasNext(IMoaMmXScript* script, XtraCallRecord* call) {
  ValueService values = Values(script);
  if (values.service) SetInteger(values.service, call, MessageQueued() ? 1 : 0);
}

// The message leaves the queue before its values are made, so the queue's lock
// is never held across a host call.
void GetNext(IMoaMmXScript* script, XtraCallRecord* call) {
  ValueService values = Values(script);
  ListServiceHeld lists(script, kIID_ListService);
  if (!values.service) return;
  CQueuedMessage* message = TakeOldestMessage();
  if (!message) {
    SetInteger(values.service, call, -1);
    return;
  }
  HostValue list;
  if (message->sender[0] && lists.service && lists.service->ops->NewList(lists.service, &list) == kXtraOk) {
    ListBuilder builder = {values.service, lists.service, &list};
    AppendString(&builder, message->text);
    AppendString(&builder, message->sender);
    call->result = list;
  } else {
    SetString(values.service, call, message->text);
  }
  FreeQueuedMessage(message);
}

void DestroyAllThreads(IMoaMmXScript*, XtraCallRecord*) { SetListenersStopped(true); }

constexpr XtraMethodHandler kHandlers[] = {
    &GetLocalIP, &SendUDPMessage, &SendTCPMessage, &WaitForUDP,
    &WaitForTCP, &HasNext,        &GetNext,        &DestroyAllThreads,
};
constexpr int32_t kHandlerCount = sizeof kHandlers / sizeof kHandlers[0];
static_assert(kHandlerCount == kDestroyAllThreadsSelector, "selectors 1 to 8");

}  // namespace

const XtraMethodTable kNetMethods = {kGetLocalIPSelector, kHandlerCount, kHandlers};
