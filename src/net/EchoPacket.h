// The ICMP messages of PING as pure functions: the echo request it sends and
// the check of a received datagram against the echo it waits for.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "net/EchoStatus.h"
#include "platform/Sockets.h"

namespace quillet {

// The echo request: the 8-byte ICMP header, a 4-byte tick count, 8 reserved
// bytes and 32 bytes of padding.
inline constexpr size_t kEchoRequestSize = 52;

// The request for identifier, sequence and tick count: type 8, code 0, the
// Internet checksum (RFC 1071), identifier, sequence and tick count in the
// sending machine's (little-endian) byte order, the padding all "E".
std::array<uint8_t, kEchoRequestSize> BuildEchoRequest(uint16_t identifier, uint16_t sequence,
                                                       uint32_t ticks);

// The status an answer of an ICMP type gives: echo for an echo reply or
// request (types 0 and 8), unreachable (3), TTL exceeded (11); none for any
// other type.
std::optional<EchoOutcome> StatusOfIcmpType(uint8_t type);

enum class ReplyCheck {
  // The answer to the echo; the status holds what it says.
  kAccepted,
  // Some other packet: another host's or process's echo, our own request,
  // a forged or damaged reply, unrelated ICMP traffic, or a datagram too
  // short for what the check reads. The wait goes on.
  kNoMatch,
  // An ICMP message about our request that is neither an unreachable nor a
  // TTL-exceeded one.
  kNonEchoType,
};

// Checks a datagram, its IP header included, against our echo request (its
// identifier and sequence) sent to address. An echo reply answers only when
// it comes from address with both numbers and a correct checksum; an
// unreachable or TTL-exceeded message answers when it quotes the request,
// whose numbers are read behind the quoted IP header's own length. Only an
// accepted datagram changes status (all fields but the round-trip time).
// Reads nothing past the datagram's end.
ReplyCheck CheckEchoReply(std::span<const uint8_t> datagram, uint16_t identifier, uint16_t sequence,
                          platform::Ipv4Address address, EchoStatus& status);

}  // namespace quillet
