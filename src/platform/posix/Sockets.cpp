// The socket calls on POSIX. The C library's socket layer is always ready,
// so there is nothing to start or stop. Interrupted calls are repeated, never
// reported, and a send never raises SIGPIPE in the host's process.
#include "platform/Sockets.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "platform/Replaceable.h"
#include "platform/posix/SocketBasics.h"
#include "platform/posix/SocketWait.h"
#include "platform/posix/WsaNumbers.h"

namespace quillet::platform {
namespace {

int Start() {
  return 0;
}

void Stop() {}

int ResolveName(const std::string& name, Ipv4Address& address) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int answer = getaddrinfo(name.c_str(), nullptr, &hints, &found);
  if (answer != 0) return WsaErrorFromResolver(answer);
  int error = kWsaNoData;
  for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
    if (entry->ai_family != AF_INET || entry->ai_addrlen < sizeof(sockaddr_in)) continue;
    address = ntohl(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr.s_addr);
    error = 0;
    break;
  }
  freeaddrinfo(found);
  return error;
}

int ReverseLookup(Ipv4Address address, std::string& name) {
  const sockaddr_in where = SocketAddress(address, 0);
  char host[NI_MAXHOST];
  const int answer = getnameinfo(reinterpret_cast<const sockaddr*>(&where), sizeof where, host,
                                 sizeof host, nullptr, 0, NI_NAMEREQD);
  if (answer != 0) return WsaErrorFromResolver(answer);
  name = host;
  return 0;
}

Ipv4Address ClassicAddress(const std::string& text) {
  return ntohl(inet_addr(text.c_str()));
}

int TcpOpen(SocketHandle& socket) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
  if (fd < 0) return LastError();
  const sockaddr_in any = SocketAddress(INADDR_ANY, 0);
  if (bind(fd, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
    const int error = LastError();
    ::close(fd);
    return error;
  }
  socket = static_cast<SocketHandle>(fd);
  return 0;
}

// A non-blocking connect, waited for with the time limit, then blocking
// again for the reads and writes that follow.
int TcpConnect(SocketHandle socket, Ipv4Address address, uint16_t port, uint32_t timeoutMs) {
  const int fd = Descriptor(socket);
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0) return LastError();
  const sockaddr_in where = SocketAddress(address, port);
  int error = 0;
  if (connect(fd, reinterpret_cast<const sockaddr*>(&where), sizeof where) != 0) {
    if (errno != EINPROGRESS && errno != EINTR) {
      error = LastError();
    } else {
      bool ready = false;
      error = PollFor(fd, POLLOUT, timeoutMs, ready);
      if (error == 0 && !ready) error = kWsaTimedOut;
      if (error == 0) {
        int outcome = 0;
        socklen_t size = sizeof outcome;
        if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &outcome, &size) != 0) outcome = errno;
        if (outcome != 0) error = WsaErrorFromErrno(outcome);
      }
    }
  }
  if (fcntl(fd, F_SETFL, flags) != 0 && error == 0) error = LastError();
  return error;
}

// Sends without blocking and waits for room in between, so that a peer that
// stops reading costs at most stallMs.
int Send(SocketHandle socket, const void* data, size_t size, uint32_t stallMs) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t sent = ::send(Descriptor(socket), bytes, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (sent < 0) {
      if (errno == EINTR) continue;
      if (errno != EAGAIN && errno != EWOULDBLOCK) return LastError();
      bool room = false;
      if (const int error = PollFor(Descriptor(socket), POLLOUT, stallMs, room); error != 0)
        return error;
      if (!room) return kWsaTimedOut;
      continue;
    }
    bytes += sent;
    size -= static_cast<size_t>(sent);
  }
  return 0;
}

int WaitReadable(SocketHandle socket, uint32_t timeoutMs, bool& readable) {
  return PollFor(Descriptor(socket), POLLIN, timeoutMs, readable);
}

int Receive(SocketHandle socket, void* buffer, size_t capacity, size_t& received) {
  for (;;) {
    const ssize_t count = recv(Descriptor(socket), buffer, capacity, 0);
    if (count >= 0) {
      received = static_cast<size_t>(count);
      return 0;
    }
    if (errno != EINTR) return LastError();
  }
}

void Close(SocketHandle socket) {
  // The descriptor is released even when close reports an interruption.
  ::close(Descriptor(socket));
}

uint32_t TickCount() {
  const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<uint32_t>(now.count());
}

constexpr SocketCalls kSystemCalls{Start,          Stop,    ResolveName, ReverseLookup,
                                   ClassicAddress, TcpOpen, TcpConnect,  Send,
                                   WaitReadable,   Receive, Close,       TickCount};

constinit Replaceable<SocketCalls> gCalls(kSystemCalls);

}  // namespace

const SocketCalls& Sockets() {
  return *gCalls;
}

void ReplaceSockets(const SocketCalls* calls) {
  gCalls.Replace(calls);
}

}  // namespace quillet::platform
