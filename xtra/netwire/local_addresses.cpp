#include <cstring>

#include "xtra/netwire/netwire_net.h"

bool ListLocalAddresses(AddressSink sink, void* context) {
  WSADATA startup;
  const bool started = WSAStartup(MAKEWORD(1, 1), &startup) == 0;
  char name[256];
  const bool named = gethostname(name, sizeof name) == 0;
  const hostent* entry = named ? gethostbyname(name) : nullptr;
  const bool listed = started && entry && entry->h_addrtype == AF_INET && entry->h_length == 4;
  if (listed) {
    for (char** address = entry->h_addr_list; address && *address; ++address) {
      in_addr ip;
      std::memcpy(&ip, *address, sizeof ip);
      sink(context, inet_ntoa(ip));
    }
  }
  WSACleanup();
  return listed;
}
