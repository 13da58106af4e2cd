// The time-limited wait on one socket.
#include "platform/posix/SocketWait.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>

#include "platform/posix/WsaNumbers.h"

namespace quillet::platform {

int PollFor(int fd, short events, uint32_t timeoutMs, bool& ready) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    const int wait =
        left.count() <= 0 ? 0 : static_cast<int>(std::min<int64_t>(left.count(), INT_MAX));
    pollfd entry{fd, events, 0};
    const int answer = poll(&entry, 1, wait);
    if (answer >= 0) {
      ready = answer > 0;
      return 0;
    }
    if (errno != EINTR) return WsaErrorFromErrno(errno);
  }
}

}  // namespace quillet::platform
