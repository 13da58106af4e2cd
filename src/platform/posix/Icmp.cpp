// The ICMP calls on POSIX. A raw socket needs CAP_NET_RAW; the echo service
// without it is Linux's ICMP datagram socket, which the kernel opens to the
// groups of net.ipv4.ping_group_range. On it the kernel sets the request's
// identifier and checksum, hands back only the echo replies to that
// identifier, without their IP header, and reports the reply's time to live
// with IP_RECVTTL.
#include "platform/Icmp.h"

#include <linux/icmp.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/Replaceable.h"
#include "platform/posix/SocketBasics.h"
#include "platform/posix/SocketWait.h"
#include "platform/posix/WsaNumbers.h"

namespace quillet::platform {
namespace {

using Clock = std::chrono::steady_clock;

// Where the echo's sequence number stands in the ICMP header.
constexpr size_t kSequenceOffset = 6;

// The largest answer the echo service reads; a reply to our request is the
// size of the request.
constexpr size_t kServiceBufferSize = 1024;

int OpenIcmpSocket(int type, SocketHandle& socket) {
  const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, IPPROTO_ICMP);
  if (fd < 0) return LastError();
  socket = static_cast<SocketHandle>(fd);
  return 0;
}

int SetIntOption(int fd, int level, int name, int value) {
  return setsockopt(fd, level, name, &value, sizeof value) == 0 ? 0 : LastError();
}

// Linux's ICMP_FILTER keeps from the raw socket every type that cannot
// answer an echo: only the echo reply and the error messages that quote a
// datagram (RFC 792) pass, so that other ICMP traffic of the machine, our
// own outgoing request among it, never reaches the wait.
int RawOpen(SocketHandle& socket) {
  if (const int error = OpenIcmpSocket(SOCK_RAW, socket); error != 0) return error;
  icmp_filter filter{};
  filter.data = ~(1u << kEchoReplyType | 1u << kUnreachableType | 1u << kSourceQuenchType |
                  1u << kRedirectType | 1u << kTimeExceededType | 1u << kParameterProblemType);
  if (setsockopt(Descriptor(socket), SOL_RAW, ICMP_FILTER, &filter, sizeof filter) == 0) return 0;
  const int error = LastError();
  ::close(Descriptor(socket));
  socket = kNoSocket;
  return error;
}

int SetTimeToLive(SocketHandle socket, uint8_t timeToLive) {
  return SetIntOption(Descriptor(socket), IPPROTO_IP, IP_TTL, timeToLive);
}

int SendTo(SocketHandle socket, std::span<const uint8_t> message, Ipv4Address address) {
  const sockaddr_in where = SocketAddress(address);
  for (;;) {
    if (sendto(Descriptor(socket), message.data(), message.size(), MSG_NOSIGNAL,
               reinterpret_cast<const sockaddr*>(&where), sizeof where) >= 0)
      return 0;
    if (errno != EINTR) return LastError();
  }
}

int WaitReadable(SocketHandle socket, uint32_t timeoutMs, bool& readable) {
  return PollFor(Descriptor(socket), POLLIN, timeoutMs, readable);
}

// MSG_TRUNC makes recv tell a datagram's whole length, so that one longer
// than the buffer is reported as Windows reports it.
int Receive(SocketHandle socket, std::span<uint8_t> buffer, size_t& received) {
  for (;;) {
    const ssize_t count = recv(Descriptor(socket), buffer.data(), buffer.size(), MSG_TRUNC);
    if (count >= 0) {
      received = std::min(static_cast<size_t>(count), buffer.size());
      return static_cast<size_t>(count) > buffer.size() ? WsaErrorFromErrno(EMSGSIZE) : 0;
    }
    if (errno != EINTR) return LastError();
  }
}

void Close(SocketHandle socket) {
  ::close(Descriptor(socket));
}

int ServiceOpen(SocketHandle& service) {
  return OpenIcmpSocket(SOCK_DGRAM, service);
}

// One datagram from the service socket with its source and, when the kernel
// gives it, its time to live.
int ReceiveAnswer(int fd, std::span<uint8_t> buffer, size_t& received, EchoAnswer& answer) {
  sockaddr_in from{};
  iovec piece{buffer.data(), buffer.size()};
  alignas(cmsghdr) std::array<char, CMSG_SPACE(sizeof(int))> control{};
  msghdr message{};
  message.msg_name = &from;
  message.msg_namelen = sizeof from;
  message.msg_iov = &piece;
  message.msg_iovlen = 1;
  message.msg_control = control.data();
  message.msg_controllen = control.size();
  ssize_t count;
  do {
    count = recvmsg(fd, &message, 0);
  } while (count < 0 && errno == EINTR);
  if (count < 0) return LastError();
  received = static_cast<size_t>(count);
  answer.source = ntohl(from.sin_addr.s_addr);
  for (cmsghdr* entry = CMSG_FIRSTHDR(&message); entry != nullptr;
       entry = CMSG_NXTHDR(&message, entry)) {
    if (entry->cmsg_level != IPPROTO_IP || entry->cmsg_type != IP_TTL ||
        entry->cmsg_len < CMSG_LEN(sizeof(int)))
      continue;
    int ttl = 0;
    memcpy(&ttl, CMSG_DATA(entry), sizeof ttl);
    answer.timeToLive = static_cast<uint8_t>(ttl);
  }
  return 0;
}

int ServiceEcho(SocketHandle service, std::span<const uint8_t> request, Ipv4Address address,
                uint8_t timeToLive, uint32_t timeoutMs, EchoAnswer& answer) {
  const int fd = Descriptor(service);
  answer = {};
  if (request.size() < kIcmpHeaderSize) return WsaErrorFromErrno(EINVAL);
  int error = SetTimeToLive(service, timeToLive);
  if (error == 0) error = SetIntOption(fd, IPPROTO_IP, IP_RECVTTL, 1);
  if (error == 0) error = SendTo(service, request, address);
  if (error != 0) return error;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  std::array<uint8_t, kServiceBufferSize> buffer{};
  for (;;) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return 0;
    bool readable = false;
    error = PollFor(fd, POLLIN, static_cast<uint32_t>(left.count()), readable);
    if (error != 0 || !readable) return error;
    size_t received = 0;
    EchoAnswer candidate;
    error = ReceiveAnswer(fd, buffer, received, candidate);
    if (error != 0) return error;
    // A late reply to an earlier socket with the same identifier carries
    // another sequence number; a forged one comes from elsewhere.
    if (received >= kIcmpHeaderSize && buffer[0] == kEchoReplyType && candidate.source == address &&
        buffer[kSequenceOffset] == request[kSequenceOffset] &&
        buffer[kSequenceOffset + 1] == request[kSequenceOffset + 1]) {
      candidate.answered = true;
      candidate.type = kEchoReplyType;
      candidate.messageSize = received;
      answer = candidate;
      return 0;
    }
  }
}

uint32_t TickCount() {
  const auto now =
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch());
  return static_cast<uint32_t>(now.count());
}

uint32_t ProcessId() {
  return static_cast<uint32_t>(getpid());
}

void ProcessPendingMessages() {}

constexpr IcmpCalls kSystemCalls{RawOpen, SetTimeToLive, SendTo,      WaitReadable,
                                 Receive, Close,         ServiceOpen, ServiceEcho,
                                 Close,   TickCount,     ProcessId,   ProcessPendingMessages};

constinit Replaceable<IcmpCalls> gCalls(kSystemCalls);

}  // namespace

const IcmpCalls& Icmp() {
  return *gCalls;
}

void ReplaceIcmp(const IcmpCalls* calls) {
  gCalls.Replace(calls);
}

}  // namespace quillet::platform
