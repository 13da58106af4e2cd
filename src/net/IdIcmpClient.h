// The ICMP echo client of the component set: its settings, its sequence
// counter and the reply status that each echo fills and hands to OnReply.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "net/NetComponent.h"

namespace quillet {

enum class TReplyStatusTypes : uint8_t {
  rsEcho = 0,
  rsError = 1,
  rsTimeOut = 2,
  rsErrorUnreachable = 3,
  rsErrorTTLExceeded = 4,
};

struct TReplyStatus {
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

class TIdIcmpClient : public TIdNetComponent {
 public:
  std::string Host;
  uint16_t Port = 0;
  int32_t ReceiveTimeout = 5000;
  // Starts at 3489 and is never reset while the component lives.
  uint16_t SequenceCounter = 3489;
  TReplyStatus ReplyStatus;
  TOnReplyEvent OnReply;
};

}  // namespace quillet
