// The system's sockets as the network code needs them: the socket layer's
// start-up, name resolution, the classic dotted-address conversion and TCP
// streams. Every call reports failure as a Windows Sockets error number (0 is
// success) on every build; the POSIX build maps errno and the resolver's codes
// onto those numbers. The calls form one table that white-box tests replace,
// to play what a real network rarely does on demand: time-outs, resets, short
// reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet::platform {

// An IPv4 address as a number: the first dotted field is the top byte.
using Ipv4Address = uint32_t;

// An open socket; only the calls below know what it is.
using SocketHandle = uintptr_t;
inline constexpr SocketHandle kNoSocket = ~SocketHandle{0};

// The Windows Sockets numbers that callers act on or report themselves.
inline constexpr int kWsaAccessDenied = 10013;
inline constexpr int kWsaMessageTooLong = 10040;
inline constexpr int kWsaConnectionAborted = 10053;
inline constexpr int kWsaConnectionReset = 10054;
inline constexpr int kWsaTimedOut = 10060;
inline constexpr int kWsaConnectionRefused = 10061;
inline constexpr int kWsaHostNotFound = 11001;
inline constexpr int kWsaTryAgain = 11002;
inline constexpr int kWsaNoRecovery = 11003;
inline constexpr int kWsaNoData = 11004;

struct SocketCalls {
  // Before the first network component is used, and after the last is gone.
  int (*start)();
  void (*stop)();

  // The first IPv4 address of a host name.
  int (*resolveName)(const std::string& name, Ipv4Address& address);
  // The official name of the host at an address.
  int (*reverseLookup)(Ipv4Address address, std::string& name);
  // The system's classic conversion of dotted text (fewer than four fields,
  // octal and hexadecimal fields allowed); all ones for text it rejects.
  Ipv4Address (*classicAddress)(const std::string& text);

  // A TCP stream socket, bound to any local address and port.
  int (*tcpOpen)(SocketHandle& socket);
  // Connects; kWsaTimedOut when the connection is not made within timeoutMs.
  int (*tcpConnect)(SocketHandle socket, Ipv4Address address, uint16_t port, uint32_t timeoutMs);
  // Sends all size bytes; kWsaTimedOut when the system takes none of them
  // for stallMs. A peer that has gone is an error, never a signal.
  int (*send)(SocketHandle socket, const void* data, size_t size, uint32_t stallMs);
  // Waits until the socket has something to read (data, the peer's close or
  // an error) or timeoutMs have passed; readable tells which.
  int (*waitReadable)(SocketHandle socket, uint32_t timeoutMs, bool& readable);
  // Receives up to capacity bytes; received 0 means the peer has closed.
  int (*receive)(SocketHandle socket, void* buffer, size_t capacity, size_t& received);
  void (*close)(SocketHandle socket);

  // Milliseconds since an arbitrary start, wrapping around at 2^32: the
  // clock that the deadlines of an exchange are measured with.
  uint32_t (*tickCount)();
};

// The calls in force: the system's unless a test replaced them.
const SocketCalls& Sockets();

// For tests: replaces the calls until the next replacement; null restores
// the system's.
void ReplaceSockets(const SocketCalls* calls);

}  // namespace quillet::platform
