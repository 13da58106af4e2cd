// The POSIX build's translation of the system's socket and resolver failures
// into the Windows Sockets numbers that the network code reports.
#pragma once

namespace quillet::platform {

// The Windows Sockets number for an errno value; a value Windows Sockets has
// no counterpart for is passed on as it is.
int WsaErrorFromErrno(int error);

// The Windows Sockets number for a getaddrinfo or getnameinfo failure.
int WsaErrorFromResolver(int error);

}  // namespace quillet::platform
