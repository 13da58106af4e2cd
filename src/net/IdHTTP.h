// The HTTP client of the component set and its settings; the connection,
// current URL and cookie store it keeps live as long as the set.
#pragma once

#include <cstdint>
#include <string>

#include "net/IdSettings.h"
#include "net/NetComponent.h"

namespace quillet {

struct TIdProxyConnectionInfo {
  bool BasicAuthentication = false;
  std::string ProxyServer;
  uint16_t ProxyPort = 0;
  std::string ProxyUsername;
  std::string ProxyPassword;
};

struct TIdHTTPRequest {
  int64_t ContentLength = -1;
  int64_t ContentRangeEnd = 0;
  int64_t ContentRangeStart = 0;
  std::string ContentType;
  std::string Accept;
  bool BasicAuthentication = false;
  std::string UserAgent;
};

// The HTTPOptions flags.
enum THTTPOption : uint32_t {
  hoInProcessAuth = 1u << 0,
  hoKeepOrigProtocol = 1u << 1,
  hoForceEncodeParams = 1u << 2,
};

class TIdHTTP : public TIdNetComponent {
 public:
  TIdMaxLineAction MaxLineAction = TIdMaxLineAction::maException;
  int32_t ReadTimeout = 0;
  bool AllowCookies = false;
  TIdProxyConnectionInfo ProxyParams;
  TIdHTTPRequest Request;
  uint32_t HTTPOptions = 0;
};

}  // namespace quillet
