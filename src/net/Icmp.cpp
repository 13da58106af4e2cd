// The echo request and the reply check.
#include "net/Icmp.h"

#include <algorithm>

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
// byte; the time to live and the source address sit at fixed offsets.
constexpr uint8_t kHeaderLengthMask = 0x0F;
constexpr size_t kHeaderWordSize = 4;
constexpr size_t kTimeToLiveOffset = 8;
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

std::optional<TReplyStatusTypes> StatusOfIcmpType(uint8_t type) {
  switch (type) {
    case kEchoReplyType:
    case kEchoRequestType:
      return TReplyStatusTypes::rsEcho;
    case kUnreachableType:
      return TReplyStatusTypes::rsErrorUnreachable;
    case kTimeExceededType:
      return TReplyStatusTypes::rsErrorTTLExceeded;
    default:
      return std::nullopt;
  }
}

ReplyCheck CheckEchoReply(std::span<const uint8_t> datagram, uint16_t sequence,
                          TReplyStatus& status) {
  if (datagram.empty()) return ReplyCheck::kNotEnoughBytes;
  const size_t header = (datagram[0] & kHeaderLengthMask) * kHeaderWordSize;
  if (datagram.size() < header + kIcmpHeaderSize) return ReplyCheck::kNotEnoughBytes;
  const uint8_t type = datagram[header + kTypeOffset];
  const std::optional<TReplyStatusTypes> kind = StatusOfIcmpType(type);
  if (!kind) return ReplyCheck::kNonEchoType;
  const size_t matched = *kind == TReplyStatusTypes::rsEcho
                             ? header + kSequenceOffset
                             : header + kIcmpHeaderSize + header + kSequenceOffset;
  // A header shorter than RFC 791's 20 bytes may end before the source.
  if (datagram.size() < matched + 2 || datagram.size() < kSourceOffset + kAddressSize)
    return ReplyCheck::kNoMatch;
  if (LittleEndian16(datagram.subspan(matched)) != sequence) return ReplyCheck::kNoMatch;
  platform::Ipv4Address source = 0;
  for (size_t i = 0; i < kAddressSize; ++i) source = source << 8 | datagram[kSourceOffset + i];
  status.BytesReceived = static_cast<int32_t>(datagram.size());
  status.FromIpAddress = DottedAddress(source);
  status.MsgType = type;
  status.SequenceId = sequence;
  status.TimeToLive = datagram[kTimeToLiveOffset];
  status.ReplyStatusType = *kind;
  return ReplyCheck::kAccepted;
}

}  // namespace quillet
