// PING: ICMP echoes to a host, one reply line per echo.
#include "frame/ComponentSet.h"
#include "frame/Macros.h"
#include "net/EchoClient.h"
#include "net/NetMacros.h"
#include "platform/Icmp.h"

namespace quillet {
namespace {

// The echoes sent when the template gives no count.
constexpr int32_t kDefaultEchoes = 4;

}  // namespace

std::string& PingReplyText() {
  static std::string text;
  return text;
}

std::string PingReplyLine(const EchoStatus& status) {
  std::string line = std::to_string(status.bytesReceived) + " bytes from " + status.source +
                     ": ICMP_seq=" + std::to_string(status.sequence) +
                     " TTL=" + std::to_string(status.timeToLive) + " RoundTrip Time";
  // Within the same tick the time reads "<1", with no number after it.
  if (status.roundTripMs == 0) {
    line += "<1";
  } else {
    line += '=';
    line += std::to_string(status.roundTripMs);
  }
  line += " ms\r\n";
  return line;
}

void PingMacro(IWRPDataProvider*, IWRPDataProvider* params, std::string& result) {
  std::string& replies = PingReplyText();
  replies.clear();
  int32_t echoes = 0;
  std::string host;
  switch (GetParamCount(params)) {
    case 1:
      host = GetParamStr(params, 0);
      echoes = kDefaultEchoes;
      break;
    case 2:
      host = GetParamStr(params, 0);
      echoes = GetParamInt(params, 1);
      break;
    default:
      result = kWrongParamCount;
      return;
  }
  LiveComponent<EchoClient>().host = host;
  for (int32_t echo = 0; echo < echoes; ++echo) {
    // Host code run among the window messages may have finalised the
    // component set, or made a new one: it is looked up for every echo.
    EchoClient& client = LiveComponent<EchoClient>();
    client.host = host;
    client.Ping();
    replies += PingReplyLine(client.status);
    // The host stays responsive between echoes, though not during one.
    platform::Icmp().processPendingMessages();
  }
  result = replies;
}

}  // namespace quillet
