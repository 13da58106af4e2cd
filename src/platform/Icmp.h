// What the ICMP echo client needs from the system: a raw ICMP socket, the
// system's own echo service for users who may not open one, the millisecond
// tick count, the process id, and the processing of the calling thread's
// pending window messages. Socket calls report failure as a Windows Sockets
// error number (0 is success), as in Sockets.h. The calls form one table
// that white-box tests replace, to play time-outs, foreign and malformed
// datagrams and a clock that jumps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/Sockets.h"

namespace quillet::platform {

// RFC 792: the ICMP header before an echo message's data (type, code,
// checksum, identifier and sequence number), and the types PING meets.
inline constexpr size_t kIcmpHeaderSize = 8;
inline constexpr uint8_t kEchoReplyType = 0;
inline constexpr uint8_t kUnreachableType = 3;
inline constexpr uint8_t kSourceQuenchType = 4;
inline constexpr uint8_t kRedirectType = 5;
inline constexpr uint8_t kEchoRequestType = 8;
inline constexpr uint8_t kTimeExceededType = 11;
inline constexpr uint8_t kParameterProblemType = 12;

// What the echo service found for one request.
struct EchoAnswer {
  // False when nothing answered within the time limit.
  bool answered = false;
  // The answer's ICMP type: 0 for the echo reply, else the error's type.
  uint8_t type = 0;
  Ipv4Address source = 0;
  uint8_t timeToLive = 0;
  // The answer's ICMP message, its 8-byte header included.
  size_t messageSize = 0;
};

struct IcmpCalls {
  // A raw IPv4 socket for ICMP (protocol 1); kWsaAccessDenied for a user
  // without the privilege. On Linux only the echo reply and the error types
  // that quote a datagram reach it.
  int (*rawOpen)(SocketHandle& socket);
  // The time to live of the datagrams sent from now on.
  int (*setTimeToLive)(SocketHandle socket, uint8_t timeToLive);
  int (*sendTo)(SocketHandle socket, std::span<const uint8_t> message, Ipv4Address address);
  // Waits until a datagram can be read or timeoutMs have passed.
  int (*waitReadable)(SocketHandle socket, uint32_t timeoutMs, bool& readable);
  // One datagram, its IP header included. A datagram longer than the buffer
  // fills it and answers 10040 (message too long).
  int (*receive)(SocketHandle socket, std::span<uint8_t> buffer, size_t& received);
  void (*close)(SocketHandle socket);

  // The system's echo service, which needs no privilege: an ICMP datagram
  // socket on Linux (for the groups net.ipv4.ping_group_range admits),
  // IcmpSendEcho on Windows. Opening fails where the service is closed.
  int (*serviceOpen)(SocketHandle& service);
  // Sends the echo request message (its identifier and checksum are the
  // system's to set) with the time to live, and waits up to timeoutMs for
  // the answer that carries the request's sequence number.
  int (*serviceEcho)(SocketHandle service, std::span<const uint8_t> request, Ipv4Address address,
                     uint8_t timeToLive, uint32_t timeoutMs, EchoAnswer& answer);
  void (*serviceClose)(SocketHandle service);

  // Milliseconds since an arbitrary start, wrapping around at 2^32.
  uint32_t (*tickCount)();
  uint32_t (*processId)();
  // Handles the window messages waiting for the calling thread (Windows);
  // nothing elsewhere.
  void (*processPendingMessages)();
};

// The calls in force: the system's unless a test replaced them.
const IcmpCalls& Icmp();

// For tests: replaces the calls until the next replacement; null restores
// the system's.
void ReplaceIcmp(const IcmpCalls* calls);

}  // namespace quillet::platform
