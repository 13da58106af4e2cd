// The socket calls on Windows Sockets 2.2. The classic resolver calls
// (gethostbyname, gethostbyaddr, inet_addr) keep their answers per thread,
// and every failure is the number WSAGetLastError reports.
#include <winsock2.h>

#include <algorithm>
#include <cstring>

#include "platform/Replaceable.h"
#include "platform/Sockets.h"
#include "platform/win32/SocketBasics.h"

namespace quillet::platform {
namespace {

// send and recv count in an int: larger transfers go in pieces of this size.
constexpr size_t kLargestPiece = size_t{1} << 30;

sockaddr_in SocketAddress(Ipv4Address address, uint16_t port) {
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = htons(port);
  where.sin_addr.s_addr = htonl(address);
  return where;
}

int Start() {
  WSADATA data{};
  return WSAStartup(MAKEWORD(2, 2), &data);
}

void Stop() {
  WSACleanup();
}

int ResolveName(const std::string& name, Ipv4Address& address) {
  const hostent* entry = gethostbyname(name.c_str());
  if (entry == nullptr) return WSAGetLastError();
  if (entry->h_addrtype != AF_INET || entry->h_length != 4 || entry->h_addr_list[0] == nullptr)
    return WSANO_DATA;
  in_addr first{};
  memcpy(&first, entry->h_addr_list[0], sizeof first);
  address = ntohl(first.s_addr);
  return 0;
}

int ReverseLookup(Ipv4Address address, std::string& name) {
  const u_long networkOrder = htonl(address);
  const hostent* entry =
      gethostbyaddr(reinterpret_cast<const char*>(&networkOrder), sizeof networkOrder, AF_INET);
  if (entry == nullptr) return WSAGetLastError();
  name = entry->h_name != nullptr ? entry->h_name : "";
  return 0;
}

Ipv4Address ClassicAddress(const std::string& text) {
  return ntohl(inet_addr(text.c_str()));
}

int TcpOpen(SocketHandle& socket) {
  const SOCKET opened = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (opened == INVALID_SOCKET) return WSAGetLastError();
  // Programs the host starts later must not inherit the connection.
  SetHandleInformation(reinterpret_cast<HANDLE>(opened), HANDLE_FLAG_INHERIT, 0);
  const sockaddr_in any = SocketAddress(INADDR_ANY, 0);
  if (bind(opened, reinterpret_cast<const sockaddr*>(&any), sizeof any) == SOCKET_ERROR) {
    const int error = WSAGetLastError();
    closesocket(opened);
    return error;
  }
  socket = static_cast<SocketHandle>(opened);
  return 0;
}

// A non-blocking connect, waited for with the time limit, then blocking
// again for the reads and writes that follow.
int TcpConnect(SocketHandle socket, Ipv4Address address, uint16_t port, uint32_t timeoutMs) {
  const SOCKET native = Native(socket);
  u_long nonBlocking = 1;
  if (ioctlsocket(native, FIONBIO, &nonBlocking) == SOCKET_ERROR) return WSAGetLastError();
  const sockaddr_in where = SocketAddress(address, port);
  int error = 0;
  if (connect(native, reinterpret_cast<const sockaddr*>(&where), sizeof where) == SOCKET_ERROR) {
    error = WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
      fd_set writable;
      fd_set failed;
      FD_ZERO(&writable);
      FD_ZERO(&failed);
      FD_SET(native, &writable);
      FD_SET(native, &failed);
      timeval interval = Interval(timeoutMs);
      const int answer = select(0, nullptr, &writable, &failed, &interval);
      if (answer == SOCKET_ERROR) {
        error = WSAGetLastError();
      } else if (answer == 0) {
        error = kWsaTimedOut;
      } else if (FD_ISSET(native, &failed)) {
        int outcome = 0;
        int size = sizeof outcome;
        error = getsockopt(native, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&outcome),
                           &size) == SOCKET_ERROR
                    ? WSAGetLastError()
                    : outcome;
        if (error == 0) error = WSAECONNREFUSED;
      } else {
        error = 0;
      }
    }
  }
  u_long blocking = 0;
  if (ioctlsocket(native, FIONBIO, &blocking) == SOCKET_ERROR && error == 0)
    error = WSAGetLastError();
  return error;
}

// Sends in non-blocking mode and waits for room in between, so that a peer
// that stops reading costs at most stallMs; blocking again afterwards.
int Send(SocketHandle socket, const void* data, size_t size, uint32_t stallMs) {
  const SOCKET native = Native(socket);
  u_long nonBlocking = 1;
  if (ioctlsocket(native, FIONBIO, &nonBlocking) == SOCKET_ERROR) return WSAGetLastError();
  const auto* bytes = static_cast<const char*>(data);
  int error = 0;
  while (size > 0 && error == 0) {
    const int piece = static_cast<int>(std::min(size, kLargestPiece));
    const int sent = ::send(native, bytes, piece, 0);
    if (sent != SOCKET_ERROR) {
      bytes += sent;
      size -= static_cast<size_t>(sent);
      continue;
    }
    error = WSAGetLastError();
    if (error != WSAEWOULDBLOCK) break;
    bool room = false;
    error = SelectOne(native, true, stallMs, room);
    if (error == 0 && !room) error = kWsaTimedOut;
  }
  u_long blocking = 0;
  if (ioctlsocket(native, FIONBIO, &blocking) == SOCKET_ERROR && error == 0)
    error = WSAGetLastError();
  return error;
}

int WaitReadable(SocketHandle socket, uint32_t timeoutMs, bool& readable) {
  return SelectOne(Native(socket), false, timeoutMs, readable);
}

int Receive(SocketHandle socket, void* buffer, size_t capacity, size_t& received) {
  const int piece = static_cast<int>(std::min(capacity, kLargestPiece));
  const int count = recv(Native(socket), static_cast<char*>(buffer), piece, 0);
  if (count == SOCKET_ERROR) return WSAGetLastError();
  received = static_cast<size_t>(count);
  return 0;
}

void Close(SocketHandle socket) {
  closesocket(Native(socket));
}

uint32_t TickCount() {
  return GetTickCount();
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
