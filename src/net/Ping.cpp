// PING: ICMP echoes to a host, one reply line per echo.
#include "frame/Macros.h"
#include "net/DataMod.h"
#include "net/NetMacros.h"
#include "platform/Icmp.h"

namespace quillet {
namespace {

// The echoes sent when the template gives no count.
constexpr int32_t kDefaultEchoes = 4;

}  // namespace

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
  LiveDataMod().IdIcmp.Host = host;
  for (int32_t echo = 0; echo < echoes; ++echo) {
    // Host code run among the window messages may have finalised the
    // component set, or made a new one: it is looked up for every echo.
    TIdIcmpClient& client = LiveDataMod().IdIcmp;
    client.Host = host;
    client.Ping();
    // The host stays responsive between echoes, though not during one.
    platform::Icmp().processPendingMessages();
  }
  result = replies;
}

}  // namespace quillet
