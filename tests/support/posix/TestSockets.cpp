// The test server's sockets on POSIX.
#include "support/TestSockets.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace quillet::testing {

bool RunningUnderWine() {
  return false;
}

void StartTestSockets() {}

TestSocket ListenOnLoopback(uint16_t& port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return kNoTestSocket;
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof where;
  if (bind(fd, reinterpret_cast<sockaddr*>(&where), size) != 0 || listen(fd, 8) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&where), &size) != 0) {
    close(fd);
    return kNoTestSocket;
  }
  port = ntohs(where.sin_port);
  return fd;
}

TestSocket AcceptWithin(TestSocket listener, int timeoutMs) {
  if (!ReadableWithin(listener, timeoutMs)) return kNoTestSocket;
  const int fd = accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_CLOEXEC);
  return fd < 0 ? kNoTestSocket : fd;
}

bool ReadableWithin(TestSocket socket, int timeoutMs) {
  pollfd entry{static_cast<int>(socket), POLLIN, 0};
  int answer;
  do {
    answer = poll(&entry, 1, timeoutMs);
  } while (answer < 0 && errno == EINTR);
  return answer > 0;
}

long ReceiveSome(TestSocket socket, char* buffer, size_t size) {
  ssize_t count;
  do {
    count = recv(static_cast<int>(socket), buffer, size, 0);
  } while (count < 0 && errno == EINTR);
  return static_cast<long>(count);
}

bool SendAll(TestSocket socket, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t sent =
        send(static_cast<int>(socket), bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (sent < 0 && errno == EINTR) continue;
    if (sent <= 0) return false;
    done += static_cast<size_t>(sent);
  }
  return true;
}

void ShutdownSending(TestSocket socket) {
  shutdown(static_cast<int>(socket), SHUT_WR);
}

void CloseTestSocket(TestSocket socket) {
  close(static_cast<int>(socket));
}

void ResetTestSocket(TestSocket socket) {
  linger abortive{1, 0};
  setsockopt(static_cast<int>(socket), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
  close(static_cast<int>(socket));
}

}  // namespace quillet::testing
