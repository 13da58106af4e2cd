// What the POSIX socket calls and ICMP calls share: the failure as a Windows
// Sockets number, a handle's descriptor and an IPv4 socket address.
#pragma once

#include <netinet/in.h>

#include <cerrno>
#include <cstdint>

#include "platform/Sockets.h"
#include "platform/posix/WsaNumbers.h"

namespace quillet::platform {

// The Windows Sockets number of the failure errno holds now.
inline int LastError() {
  return WsaErrorFromErrno(errno);
}

inline int Descriptor(SocketHandle socket) {
  return static_cast<int>(socket);
}

inline sockaddr_in SocketAddress(Ipv4Address address, uint16_t port = 0) {
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = htons(port);
  where.sin_addr.s_addr = htonl(address);
  return where;
}

}  // namespace quillet::platform
