// The ICMP calls on Windows. A raw socket needs administrator rights; the
// echo service without them is IcmpSendEcho (iphlpapi), which writes the
// ICMP header itself, so it is given the request's data only, and which
// describes the answer by an IP status instead of the ICMP message.
// The order matters: the ICMP header needs the Windows and IP types of the
// headers before it.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <ipexport.h>

#include <icmpapi.h>

#include <array>
#include <cstring>

#include "platform/Icmp.h"
#include "platform/Replaceable.h"
#include "platform/win32/SocketBasics.h"

namespace quillet::platform {
namespace {

// Room for one reply record and its data: the echoed request data, or the
// 8 bytes of an ICMP error, with space to spare.
constexpr size_t kReplyDataRoom = 1024;

// The service's failures that have a Windows Sockets counterpart; any other
// number is passed on as it is.
struct StatusPair {
  DWORD status;
  int wsa;
};
constexpr StatusPair kFailurePairs[] = {
    {ERROR_ACCESS_DENIED, WSAEACCES},
    {ERROR_INVALID_HANDLE, WSAEBADF},
    {ERROR_INVALID_PARAMETER, WSAEINVAL},
    {ERROR_NOT_ENOUGH_MEMORY, WSAENOBUFS},
    {ERROR_INSUFFICIENT_BUFFER, WSAENOBUFS},
    {IP_BUF_TOO_SMALL, WSAENOBUFS},
    {IP_NO_RESOURCES, WSAENOBUFS},
    {IP_BAD_OPTION, WSAENOPROTOOPT},
    {IP_OPTION_TOO_BIG, WSAENOPROTOOPT},
    {IP_HW_ERROR, WSAENETDOWN},
    {IP_GENERAL_FAILURE, WSAENETDOWN},
    {IP_PACKET_TOO_BIG, WSAEMSGSIZE},
    {IP_BAD_REQ, WSAEINVAL},
    {IP_BAD_ROUTE, WSAEHOSTUNREACH},
    {IP_BAD_DESTINATION, WSAEADDRNOTAVAIL},
};

int WsaErrorFromStatus(DWORD status) {
  for (const StatusPair& pair : kFailurePairs)
    if (pair.status == status) return pair.wsa;
  return static_cast<int>(status);
}

// The ICMP type an answering status stands for; false for a status that
// reports a failure of the service itself.
bool TypeOfStatus(DWORD status, uint8_t& type) {
  switch (status) {
    case IP_SUCCESS:
      type = kEchoReplyType;
      return true;
    case IP_DEST_NET_UNREACHABLE:
    case IP_DEST_HOST_UNREACHABLE:
    case IP_DEST_PROT_UNREACHABLE:
    case IP_DEST_PORT_UNREACHABLE:
    case IP_DEST_UNREACHABLE:
      type = kUnreachableType;
      return true;
    case IP_TTL_EXPIRED_TRANSIT:
    case IP_TTL_EXPIRED_REASSEM:
    case IP_TIME_EXCEEDED:
      type = kTimeExceededType;
      return true;
    case IP_PARAM_PROBLEM:
      type = kParameterProblemType;
      return true;
    case IP_SOURCE_QUENCH:
      type = kSourceQuenchType;
      return true;
    default:
      return false;
  }
}

HANDLE ServiceHandle(SocketHandle service) {
  return reinterpret_cast<HANDLE>(service);
}

int RawOpen(SocketHandle& socket) {
  const SOCKET opened = ::socket(AF_INET, SOCK_RAW, IPPROTO_ICMP);
  if (opened == INVALID_SOCKET) return WSAGetLastError();
  // Programs the host starts later must not inherit the socket.
  SetHandleInformation(reinterpret_cast<HANDLE>(opened), HANDLE_FLAG_INHERIT, 0);
  socket = static_cast<SocketHandle>(opened);
  return 0;
}

int SetTimeToLive(SocketHandle socket, uint8_t timeToLive) {
  const int value = timeToLive;
  return setsockopt(Native(socket), IPPROTO_IP, IP_TTL, reinterpret_cast<const char*>(&value),
                    sizeof value) == SOCKET_ERROR
             ? WSAGetLastError()
             : 0;
}

int SendTo(SocketHandle socket, std::span<const uint8_t> message, Ipv4Address address) {
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_addr.s_addr = htonl(address);
  return sendto(Native(socket), reinterpret_cast<const char*>(message.data()),
                static_cast<int>(message.size()), 0, reinterpret_cast<const sockaddr*>(&where),
                sizeof where) == SOCKET_ERROR
             ? WSAGetLastError()
             : 0;
}

int WaitReadable(SocketHandle socket, uint32_t timeoutMs, bool& readable) {
  return SelectOne(Native(socket), false, timeoutMs, readable);
}

// A datagram longer than the buffer fills it and fails with WSAEMSGSIZE.
int Receive(SocketHandle socket, std::span<uint8_t> buffer, size_t& received) {
  const int count = recv(Native(socket), reinterpret_cast<char*>(buffer.data()),
                         static_cast<int>(buffer.size()), 0);
  if (count == SOCKET_ERROR) {
    const int error = WSAGetLastError();
    if (error == WSAEMSGSIZE) received = buffer.size();
    return error;
  }
  received = static_cast<size_t>(count);
  return 0;
}

void Close(SocketHandle socket) {
  closesocket(Native(socket));
}

int ServiceOpen(SocketHandle& service) {
  const HANDLE opened = IcmpCreateFile();
  if (opened == INVALID_HANDLE_VALUE) return WsaErrorFromStatus(GetLastError());
  service = reinterpret_cast<SocketHandle>(opened);
  return 0;
}

int ServiceEcho(SocketHandle service, std::span<const uint8_t> request, Ipv4Address address,
                uint8_t timeToLive, uint32_t timeoutMs, EchoAnswer& answer) {
  answer = {};
  if (request.size() < kIcmpHeaderSize) return WSAEINVAL;
  const std::span<const uint8_t> data = request.subspan(kIcmpHeaderSize);
  IP_OPTION_INFORMATION options{};
  options.Ttl = timeToLive;
  alignas(ICMP_ECHO_REPLY) std::array<uint8_t, sizeof(ICMP_ECHO_REPLY) + kReplyDataRoom> replies{};
  const DWORD count =
      IcmpSendEcho(ServiceHandle(service), htonl(address), const_cast<uint8_t*>(data.data()),
                   static_cast<WORD>(data.size()), &options, replies.data(),
                   static_cast<DWORD>(replies.size()), timeoutMs);
  ICMP_ECHO_REPLY reply;
  memcpy(&reply, replies.data(), sizeof reply);
  // Without a reply record the status is the last error; an error answer may
  // still have left its record in the buffer.
  const DWORD status = count > 0 ? reply.Status : GetLastError();
  if (status == IP_REQ_TIMED_OUT) return 0;
  if (!TypeOfStatus(status, answer.type)) return WsaErrorFromStatus(status);
  answer.answered = true;
  answer.source = ntohl(reply.Address);
  answer.timeToLive = reply.Options.Ttl;
  answer.messageSize = kIcmpHeaderSize + reply.DataSize;
  return 0;
}

void ServiceClose(SocketHandle service) {
  IcmpCloseHandle(ServiceHandle(service));
}

uint32_t TickCount() {
  return GetTickCount();
}

uint32_t ProcessId() {
  return GetCurrentProcessId();
}

// A WM_QUIT met here belongs to the host's own message loop: it is posted
// again for that loop and ends the processing.
void ProcessPendingMessages() {
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

constexpr IcmpCalls kSystemCalls{RawOpen,      SetTimeToLive, SendTo,      WaitReadable,
                                 Receive,      Close,         ServiceOpen, ServiceEcho,
                                 ServiceClose, TickCount,     ProcessId,   ProcessPendingMessages};

constinit Replaceable<IcmpCalls> gCalls(kSystemCalls);

}  // namespace

const IcmpCalls& Icmp() {
  return *gCalls;
}

void ReplaceIcmp(const IcmpCalls* calls) {
  gCalls.Replace(calls);
}

}  // namespace quillet::platform
