// The test server's sockets on Windows Sockets.
#include <winsock2.h>

#include "support/TestSockets.h"

namespace quillet::testing {

bool RunningUnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

void StartTestSockets() {
  static const bool started = [] {
    WSADATA data{};
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  (void)started;
}

TestSocket ListenOnLoopback(uint16_t& port) {
  StartTestSockets();
  const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener == INVALID_SOCKET) return kNoTestSocket;
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof where;
  if (bind(listener, reinterpret_cast<sockaddr*>(&where), size) != 0 || listen(listener, 8) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&where), &size) != 0) {
    closesocket(listener);
    return kNoTestSocket;
  }
  port = ntohs(where.sin_port);
  return static_cast<TestSocket>(listener);
}

TestSocket AcceptWithin(TestSocket listener, int timeoutMs) {
  if (!ReadableWithin(listener, timeoutMs)) return kNoTestSocket;
  const SOCKET accepted = accept(static_cast<SOCKET>(listener), nullptr, nullptr);
  return accepted == INVALID_SOCKET ? kNoTestSocket : static_cast<TestSocket>(accepted);
}

bool ReadableWithin(TestSocket socket, int timeoutMs) {
  fd_set readers;
  FD_ZERO(&readers);
  FD_SET(static_cast<SOCKET>(socket), &readers);
  timeval interval{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
  return select(0, &readers, nullptr, nullptr, &interval) > 0;
}

long ReceiveSome(TestSocket socket, char* buffer, size_t size) {
  return recv(static_cast<SOCKET>(socket), buffer, static_cast<int>(size), 0);
}

bool SendAll(TestSocket socket, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const int sent = send(static_cast<SOCKET>(socket), bytes.data() + done,
                          static_cast<int>(bytes.size() - done), 0);
    if (sent <= 0) return false;
    done += static_cast<size_t>(sent);
  }
  return true;
}

void ShutdownSending(TestSocket socket) {
  shutdown(static_cast<SOCKET>(socket), SD_SEND);
}

void CloseTestSocket(TestSocket socket) {
  closesocket(static_cast<SOCKET>(socket));
}

void ResetTestSocket(TestSocket socket) {
  linger abortive{1, 0};
  setsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_LINGER,
             reinterpret_cast<const char*>(&abortive), sizeof abortive);
  closesocket(static_cast<SOCKET>(socket));
}

}  // namespace quillet::testing
