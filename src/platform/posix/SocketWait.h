// Waiting on one socket with a time limit, shared by the POSIX socket calls.
#pragma once

#include <cstdint>

namespace quillet::platform {

// Polls fd for events until they come or timeoutMs have passed, repeating the
// wait with the time left after an interruption. ready tells whether the
// events came; the answer is 0 or the Windows Sockets error number.
int PollFor(int fd, short events, uint32_t timeoutMs, bool& ready);

}  // namespace quillet::platform
