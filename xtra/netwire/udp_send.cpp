#include <cstring>

#include "xtra/netwire/netwire_net.h"

// One datagram per message; the address must be dotted IPv4 text, a name is not
// looked up (inet_addr turns it into no address and nothing arrives).
void SendUdpMessage(const char* address, int32_t port, const char* message) {
  WSADATA startup;
  const bool started = WSAStartup(MAKEWORD(2, 2), &startup) == 0;
  const SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
  if (s != INVALID_SOCKET) {
    sockaddr_in destination = {};
    destination.sin_family = AF_INET;
    destination.sin_port = htons(static_cast<u_short>(port));
    destination.sin_addr.s_addr = inet_addr(address);
    sendto(s, message, static_cast<int>(std::strlen(message)) + 1, 0, reinterpret_cast<sockaddr*>(&destination),
           sizeof destination);
    closesocket(s);
  }
  if (started) WSACleanup();
}
