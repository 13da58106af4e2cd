// Fuzzes PING's reply check, its request builder and the address check:
// none may read past its input; an accepted datagram reports its own length,
// the sequence number asked for and a type PING understands; every request
// verifies under its checksum; blanks around a text never change whether it
// is an address.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "net/Address.h"
#include "net/EchoPacket.h"

namespace {

using namespace quillet;

void CheckReply(std::span<const uint8_t> datagram, uint16_t sequence) {
  EchoStatus status;
  if (CheckEchoReply(datagram, 0xBEEF, sequence, 0x7F000001, status) != ReplyCheck::kAccepted)
    return;
  if (status.bytesReceived != static_cast<int32_t>(datagram.size())) std::abort();
  if (status.sequence != sequence) std::abort();
  if (!StatusOfIcmpType(status.type)) std::abort();
}

void CheckRequest(uint16_t identifier, uint16_t sequence, uint32_t ticks) {
  const auto request = BuildEchoRequest(identifier, sequence, ticks);
  uint32_t sum = 0;
  for (size_t i = 0; i < request.size(); i += 2) sum += request[i] << 8 | request[i + 1];
  while (sum > 0xFFFF) sum = (sum & 0xFFFF) + (sum >> 16);
  if (sum != 0xFFFF) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (LooksLikeIPv4(" " + std::string(text) + "\t") != LooksLikeIPv4(text)) std::abort();
  if (size < 2) return 0;
  const auto sequence = static_cast<uint16_t>(data[0] | data[1] << 8);
  CheckReply({data + 2, size - 2}, sequence);
  if (size >= 8)
    CheckRequest(static_cast<uint16_t>(data[2] | data[3] << 8), sequence,
                 uint32_t{data[4]} | uint32_t{data[5]} << 8 | uint32_t{data[6]} << 16 |
                     uint32_t{data[7]} << 24);
  return 0;
}
