// Outgoing TCP: one cached connection per (address text, port). The first message
// to a new destination goes out on a worker thread that resolves and connects;
// messages sent meanwhile wait on the record and the worker sends them after the
// first, in order. Once the worker is done only the scripting thread uses the
// record's socket.
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "xtra/netwire/netwire_net.h"

namespace {

struct HeldMessage {
  HeldMessage* next;
  char* text;
};

struct CTcpDestination {
  SOCKET socket;            // 0: closed
  sockaddr_in destination;  // set by the first resolution, reused by every reconnect
  uint32_t numericAddress;  // the address text's numeric form, for the reverse lookup
  WSADATA startup;          // the worker's Winsock registration, never cleaned up
  WORD startupVersion;
  int32_t port;
  char* address;
  CTcpDestination* next;
  // Guards the two fields below; the worker owns the socket while settingUp holds.
  CRITICAL_SECTION lock;
  bool settingUp;
  HeldMessage* heldHead;
  HeldMessage* heldTail;
};

// Only the scripting thread touches the links.
CTcpDestination* destinationsHead = nullptr;
CTcpDestination* destinationsTail = nullptr;

constexpr char kResolveFailedText[] = "Error! Cannot resolve host name!";
constexpr char kResolveFailedCaption[] = "HarborXtra";

SOCKET NewStreamSocket() {
  const SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  return s == INVALID_SOCKET ? 0 : s;
}

void CloseRecordSocket(CTcpDestination* record) {
  if (record->socket) closesocket(record->socket);
  record->socket = 0;
}

bool SendWithTerminator(SOCKET s, const char* text) {
  const int length = static_cast<int>(std::strlen(text)) + 1;
  return send(s, text, length, 0) == length;
}

// A peer that has closed still takes the first send after its close without an
// error, and that message would vanish; the pending end of stream shows it first.
bool PeerHasClosed(SOCKET s) {
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(s, &readable);
  timeval now = {0, 0};
  if (select(0, &readable, nullptr, nullptr, &now) != 1) return false;
  char peek;
  return recv(s, &peek, 1, MSG_PEEK) <= 0;
}

// By whichever thread owns the socket: the message goes out at most once, and a
// failure leaves the record closed so the next message reconnects.
void SendOnKnownDestination(CTcpDestination* record, const char* text) {
  if (record->socket == 0) {
    record->socket = NewStreamSocket();
    if (record->socket == 0) return;
    if (connect(record->socket, reinterpret_cast<sockaddr*>(&record->destination), sizeof record->destination) != 0) {
      CloseRecordSocket(record);
      return;
    }
  } else if (PeerHasClosed(record->socket)) {
    CloseRecordSocket(record);
    return;
  }
  if (!SendWithTerminator(record->socket, text)) CloseRecordSocket(record);
}

bool UsableEntry(const hostent* entry) {
  return entry && entry->h_addrtype == AF_INET && entry->h_length == 4 && entry->h_addr_list &&
         entry->h_addr_list[0];
}

const hostent* ReverseLookup(CTcpDestination* record) {
  record->numericAddress = inet_addr(record->address);
  const hostent* entry =
      gethostbyaddr(reinterpret_cast<const char*>(&record->numericAddress), sizeof record->numericAddress, AF_INET);
  return UsableEntry(entry) ? entry : nullptr;
}

const hostent* ForwardLookup(const CTcpDestination* record) {
  const hostent* entry = gethostbyname(record->address);
  return UsableEntry(entry) ? entry : nullptr;
}

// Names are looked up forward first, dotted texts in reverse first; each way is
// tried twice before the other.
const hostent* Resolve(CTcpDestination* record) {
  const bool name = std::isalpha(static_cast<unsigned char>(record->address[0])) != 0;
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (const hostent* entry = name ? ForwardLookup(record) : ReverseLookup(record)) return entry;
  }
  return name ? ReverseLookup(record) : ForwardLookup(record);
}

// Null once nothing is held: from then on the scripting thread sends itself.
char* NextHeldOrDone(CTcpDestination* record) {
  EnterCriticalSection(&record->lock);
  HeldMessage* held = record->heldHead;
  if (held) {
    record->heldHead = held->next;
    if (!record->heldHead) record->heldTail = nullptr;
  } else {
    record->settingUp = false;
  }
  LeaveCriticalSection(&record->lock);
  if (!held) return nullptr;
  char* text = held->text;
  std::free(held);
  return text;
}

DWORD WINAPI TcpConnectThread(void* argument) {
  CTcpDestination* record = static_cast<CTcpDestination*>(argument);
  record->startupVersion = MAKEWORD(2, 2);
  WSAStartup(record->startupVersion, &record->startup);
  record->socket = NewStreamSocket();
  bool connected = false;
  if (const hostent* entry = Resolve(record)) {
    record->destination.sin_family = AF_INET;
    record->destination.sin_port = htons(static_cast<u_short>(record->port));
    std::memcpy(&record->destination.sin_addr, entry->h_addr_list[0], 4);
    connected = record->socket &&
                connect(record->socket, reinterpret_cast<sockaddr*>(&record->destination), sizeof record->destination) == 0;
  } else {
    MessageBoxA(nullptr, kResolveFailedText, kResolveFailedCaption, MB_OK);
  }
  // The first message goes out only on the first connection; those that came
  // after it take the ordinary way, so a failed first connect shows as it would
  // to the scripting thread.
  if (char* first = NextHeldOrDone(record)) {
    if (connected) SendWithTerminator(record->socket, first);
    std::free(first);
    while (char* text = NextHeldOrDone(record)) {
      SendOnKnownDestination(record, text);
      std::free(text);
    }
  }
  EndModuleThread();
}

// False when memory is short; the text is then still the caller's.
bool HoldMessage(CTcpDestination* record, char* text) {
  HeldMessage* held = static_cast<HeldMessage*>(std::malloc(sizeof(HeldMessage)));
  if (!held) return false;
  held->next = nullptr;
  held->text = text;
  (record->heldTail ? record->heldTail->next : record->heldHead) = held;
  record->heldTail = held;
  return true;
}

CTcpDestination* FindDestination(const char* address, int32_t port) {
  for (CTcpDestination* record = destinationsHead; record; record = record->next) {
    if (record->port == port && std::strcmp(record->address, address) == 0) return record;
  }
  return nullptr;
}

void AddDestination(char* address, int32_t port, char* message) {
  CTcpDestination* record = static_cast<CTcpDestination*>(std::calloc(1, sizeof(CTcpDestination)));
  if (!record) {
    std::free(address);
    std::free(message);
    return;
  }
  record->port = port;
  record->address = address;
  InitializeCriticalSection(&record->lock);
  record->settingUp = true;
  if (!HoldMessage(record, message)) std::free(message);
  (destinationsTail ? destinationsTail->next : destinationsHead) = record;
  destinationsTail = record;
  if (!StartModuleThread(&TcpConnectThread, record)) {
    // No worker, so no resolution: the record stays closed with no destination.
    while (char* text = NextHeldOrDone(record)) std::free(text);
  }
}

}  // namespace

void SendTcpMessage(char* address, int32_t port, char* message) {
  CTcpDestination* record = FindDestination(address, port);
  if (!record) {
    AddDestination(address, port, message);
    return;
  }
  std::free(address);
  EnterCriticalSection(&record->lock);
  const bool held = record->settingUp && HoldMessage(record, message);
  const bool dropped = record->settingUp && !held;
  LeaveCriticalSection(&record->lock);
  if (held) return;
  if (!dropped) SendOnKnownDestination(record, message);
  std::free(message);
}

void ReleaseTcpDestinations() {
  while (CTcpDestination* record = destinationsHead) {
    destinationsHead = record->next;
    CloseRecordSocket(record);
    while (char* text = NextHeldOrDone(record)) std::free(text);
    DeleteCriticalSection(&record->lock);
    std::free(record->address);
    std::free(record);
  }
  destinationsTail = nullptr;
}
