// The wait on one socket, for the TCP calls and the raw ICMP socket alike.
#include "platform/win32/SocketBasics.h"

namespace quillet::platform {

timeval Interval(uint32_t timeoutMs) {
  timeval interval{};
  interval.tv_sec = static_cast<long>(timeoutMs / 1000);
  interval.tv_usec = static_cast<long>(timeoutMs % 1000) * 1000;
  return interval;
}

int SelectOne(SOCKET native, bool forWriting, uint32_t timeoutMs, bool& ready) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(native, &set);
  timeval interval = Interval(timeoutMs);
  const int answer = forWriting ? select(0, nullptr, &set, nullptr, &interval)
                                : select(0, &set, nullptr, nullptr, &interval);
  if (answer == SOCKET_ERROR) return WSAGetLastError();
  ready = answer > 0;
  return 0;
}

}  // namespace quillet::platform
