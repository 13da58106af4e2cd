// The ICMP echo client of the component set: the host it pings, its sequence
// counter and the reply status that each echo fills and hands to OnReply.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "net/NetComponent.h"

namespace quillet {

enum class TReplyStatusTypes : uint8_t {
  rsEcho = 0,
  rsTimeOut = 2,
  rsErrorUnreachable = 3,
  rsErrorTTLExceeded = 4,
};

struct TReplyStatus {
  // The received IP datagram's length, its header included; 0 on time-out.
  int32_t BytesReceived = 0;
  std::string FromIpAddress;
  uint8_t MsgType = 0;
  uint16_t SequenceId = 0;
  uint32_t MsRoundTripTime = 0;
  uint8_t TimeToLive = 0;
  TReplyStatusTypes ReplyStatusType = TReplyStatusTypes::rsEcho;
};

class TIdIcmpClient;
using TOnReplyEvent = std::function<void(TIdIcmpClient& sender, const TReplyStatus& status)>;

// The sequence counter's value when the component is created.
inline constexpr uint16_t kFirstIcmpSequence = 3489;

class TIdIcmpClient : public TIdNetComponent {
 public:
  // One echo to Host: resolves it, sends the request over a raw ICMP socket
  // (or, where the user may not open one, through the system's echo
  // service), waits up to 5000 ms for the answer, fills ReplyStatus, calls
  // OnReply and moves the sequence counter on. A socket error raises
  // EIdSocketError; a malformed or foreign kind of answer EIdIcmpException.
  void Ping();

  std::string Host;
  // Never reset while the component lives; wraps around from 65535 to 0.
  uint16_t SequenceCounter = kFirstIcmpSequence;
  TReplyStatus ReplyStatus;
  TOnReplyEvent OnReply;
};

}  // namespace quillet
