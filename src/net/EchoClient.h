// The ICMP echo client of the component set (in the older vocabulary the ICMP
// client, "TIdIcmpClient"): the host it pings, its sequence counter and the
// status of the last echo.
#pragma once

#include <cstdint>
#include <string>

#include "net/EchoStatus.h"
#include "net/SocketLayer.h"

namespace quillet {

// The sequence counter's value when the client is made.
inline constexpr uint16_t kFirstIcmpSequence = 3489;

class EchoClient : public SocketLayerUser {
 public:
  // One echo to host: resolves it, sends the request over a raw ICMP socket
  // (or, where the user may not open one, through the system's echo
  // service), waits up to 5000 ms for the answer, fills status and moves the
  // sequence counter on. A socket error raises EIdSocketError; a malformed or
  // foreign kind of answer EIdIcmpException.
  void Ping();

  std::string host;
  // Never reset while the client lives; wraps around from 65535 to 0.
  uint16_t sequence = kFirstIcmpSequence;
  EchoStatus status;
};

}  // namespace quillet
