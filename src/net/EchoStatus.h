// What one ICMP echo brought back (in the older vocabulary the reply status,
// "TReplyStatus"): plain data shared by the packet check and the echo client.
#pragma once

#include <cstdint>
#include <string>

namespace quillet {

// The values are the ICMP client's own numbering of its outcomes.
enum class EchoOutcome : uint8_t {
  kEcho = 0,
  kTimeOut = 2,
  kUnreachable = 3,
  kTtlExceeded = 4,
};

struct EchoStatus {
  // The received IP datagram's length, its header included; 0 on time-out.
  int32_t bytesReceived = 0;
  std::string source;
  uint8_t type = 0;
  uint16_t sequence = 0;
  uint32_t roundTripMs = 0;
  uint8_t timeToLive = 0;
  EchoOutcome outcome = EchoOutcome::kEcho;
};

}  // namespace quillet
