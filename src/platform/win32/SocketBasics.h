// What the Windows socket calls and ICMP calls share: a handle's socket and
// the time-limited wait on one socket.
#pragma once

#include <winsock2.h>

#include <cstdint>

#include "platform/Sockets.h"

namespace quillet::platform {

inline SOCKET Native(SocketHandle socket) {
  return static_cast<SOCKET>(socket);
}

// timeoutMs as select's time limit.
timeval Interval(uint32_t timeoutMs);

// Waits until the socket can be read (or written) or timeoutMs have passed;
// answers 0 or the Windows Sockets error number.
int SelectOne(SOCKET native, bool forWriting, uint32_t timeoutMs, bool& ready);

}  // namespace quillet::platform
