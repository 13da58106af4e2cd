// The echo's bytes, built and checked without a socket, so that a fuzz
// target can feed the check any datagram.
#include "net/EchoPacket.h"

#include <algorithm>
#include <optional>

#include "net/Address.h"
#include "platform/Icmp.h"

namespace quillet {
namespace {

using platform::kEchoReplyType;
using platform::kEchoRequestType;
// An error message's quote of the request starts after the ICMP header.
using platform::kIcmpHeaderSize;
using platform::kTimeExceededType;
using platform::kUnreachableType;

// Offsets in the ICMP message.
constexpr size_t kTypeOffset = 0;
constexpr size_t kChecksumOffset = 2;
constexpr size_t kIdentifierOffset = 4;
constexpr size_t kSequenceOffset = 6;
constexpr size_t kTicksOffset = 8;
// The tick count's 4 bytes are followed by 8 reserved zero bytes.
constexpr size_t kPaddingOffset = 20;
constexpr uint8_t kPaddingByte = 'E';

// RFC 791: the header length in 32-bit words is the low nibble of the first
// byte, at least 20 bytes; the time to live, the protocol and the source
// address sit at fixed offsets.
constexpr uint8_t kHeaderLengthMask = 0x0F;
constexpr size_t kHeaderWordSize = 4;
constexpr size_t kMinimumHeaderSize = 20;
constexpr size_t kTimeToLiveOffset = 8;
constexpr size_t kProtocolOffset = 9;
constexpr uint8_t kIcmp = 1;
constexpr size_t kSourceOffset = 12;
constexpr size_t kAddressSize = 4;

void PutLittleEndian(std::span<uint8_t> at, uint32_t value, size_t size) {
  for (size_t i = 0; i < size; ++i) at[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint16_t LittleEndian16(std::span<const uint8_t> at) {
  return static_cast<uint16_t>(at[0] | at[1] << 8);
}

// RFC 1071: the one's complement of the one's complement sum of the 16-bit
// words. The sum does not depend on the order the words are read in, so they
// are read and the result stored in network order.
uint16_t InternetChecksum(std::span<const uint8_t> bytes) {
  uint32_t sum = 0;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) sum += uint32_t{bytes[i]} << 8 | bytes[i + 1];
  if (bytes.size() % 2 != 0) sum += uint32_t{bytes.back()} << 8;
  while (sum > 0xFFFF) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint16_t>(~sum);
}

// The IP header's length in bytes; 0 for a datagram too short to hold RFC
// 791's fixed header, whose fields (the source among them) are read.
size_t IpHeaderLength(std::span<const uint8_t> datagram) {
  if (datagram.empty()) return 0;
  const size_t length = (datagram[0] & kHeaderLengthMask) * kHeaderWordSize;
  return length >= kMinimumHeaderSize && datagram.size() >= length ? length : 0;
}

// True when an ICMP message of at least its header carries an echo's
// identifier and sequence.
bool CarriesEcho(std::span<const uint8_t> message, uint16_t identifier, uint16_t sequence) {
  return LittleEndian16(message.subspan(kIdentifierOffset)) == identifier &&
         LittleEndian16(message.subspan(kSequenceOffset)) == sequence;
}

// RFC 792: an error message quotes the IP header and the first 8 bytes of
// the datagram it is about, after its own ICMP header. It is about our
// request when that was ICMP, an echo request, with our numbers.
bool QuotesRequest(std::span<const uint8_t> message, uint16_t identifier, uint16_t sequence) {
  const std::span<const uint8_t> quote = message.subspan(kIcmpHeaderSize);
  const size_t header = IpHeaderLength(quote);
  if (header == 0 || quote.size() < header + kIcmpHeaderSize || quote[kProtocolOffset] != kIcmp)
    return false;
  const std::span<const uint8_t> quoted = quote.subspan(header);
  return quoted[kTypeOffset] == kEchoRequestType && CarriesEcho(quoted, identifier, sequence);
}

}  // namespace

std::array<uint8_t, kEchoRequestSize> BuildEchoRequest(uint16_t identifier, uint16_t sequence,
                                                       uint32_t ticks) {
  std::array<uint8_t, kEchoRequestSize> request{};
  request[kTypeOffset] = kEchoRequestType;
  PutLittleEndian(std::span(request).subspan(kIdentifierOffset), identifier, 2);
  PutLittleEndian(std::span(request).subspan(kSequenceOffset), sequence, 2);
  PutLittleEndian(std::span(request).subspan(kTicksOffset), ticks, 4);
  std::fill(request.begin() + kPaddingOffset, request.end(), kPaddingByte);
  const uint16_t checksum = InternetChecksum(request);
  request[kChecksumOffset] = static_cast<uint8_t>(checksum >> 8);
  request[kChecksumOffset + 1] = static_cast<uint8_t>(checksum);
  return request;
}

std::optional<EchoOutcome> StatusOfIcmpType(uint8_t type) {
  switch (type) {
    case kEchoReplyType:
    case kEchoRequestType:
      return EchoOutcome::kEcho;
    case kUnreachableType:
      return EchoOutcome::kUnreachable;
    case kTimeExceededType:
      return EchoOutcome::kTtlExceeded;
    default:
      return std::nullopt;
  }
}

ReplyCheck CheckEchoReply(std::span<const uint8_t> datagram, uint16_t identifier, uint16_t sequence,
                          platform::Ipv4Address address, EchoStatus& status) {
  const size_t header = IpHeaderLength(datagram);
  if (header == 0 || datagram.size() < header + kIcmpHeaderSize) return ReplyCheck::kNoMatch;
  const std::span<const uint8_t> message = datagram.subspan(header);
  const uint8_t type = message[kTypeOffset];
  platform::Ipv4Address source = 0;
  for (size_t i = 0; i < kAddressSize; ++i) source = source << 8 | datagram[kSourceOffset + i];
  std::optional<EchoOutcome> kind;
  if (type == kEchoReplyType) {
    if (source != address || !CarriesEcho(message, identifier, sequence) ||
        InternetChecksum(message) != 0)
      return ReplyCheck::kNoMatch;
    kind = EchoOutcome::kEcho;
  } else {
    // Our own request, seen by the raw socket on its way out, quotes nothing.
    if (type == kEchoRequestType || !QuotesRequest(message, identifier, sequence))
      return ReplyCheck::kNoMatch;
    kind = StatusOfIcmpType(type);
    if (!kind) return ReplyCheck::kNonEchoType;
  }
  status.bytesReceived = static_cast<int32_t>(datagram.size());
  status.source = DottedAddress(source);
  status.type = type;
  status.sequence = sequence;
  status.timeToLive = datagram[kTimeToLiveOffset];
  status.outcome = *kind;
  return ReplyCheck::kAccepted;
}

}  // namespace quillet
