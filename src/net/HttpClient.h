// The HTTP client of the component set: one GET per fetch over a connection
// kept between calls, with the current URL and the cookie store, all of
// which live as long as the set.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/Failure.h"
#include "net/Connection.h"
#include "net/Cookies.h"
#include "net/HttpResponse.h"
#include "net/NetComponent.h"
#include "net/UrlMerge.h"

namespace quillet {

inline constexpr const char* kEIdHTTPProtocolException = "EIdHTTPProtocolException";
inline constexpr const char* kEIdIOHandlerPropInvalid = "EIdIOHandlerPropInvalid";

// A response other than 2xx, or a redirect: the message is the status line;
// the code and the start of the body come with it.
class HttpProtocolFailure : public Failure {
 public:
  HttpProtocolFailure(std::string statusLine, int32_t code, std::string body)
      : Failure(kEIdHTTPProtocolException, std::move(statusLine)),
        code_(code),
        body_(std::move(body)) {}
  int32_t code() const { return code_; }
  const std::string& body() const { return body_; }

 private:
  int32_t code_;
  std::string body_;
};

class TIdHTTP : public TIdNetComponent {
 public:
  // Merges url into the current URL, sends one GET over the kept or a new
  // connection and reads the 2xx response's body into sink. Every other
  // outcome raises.
  void Get(std::string_view url, BodySink& sink);

  const CurrentUrl& url() const { return url_; }
  const CookieStore& cookies() const { return cookies_; }
  bool connected() const { return connection_.open(); }

 private:
  // Opens the connection to the current host and port.
  void Connect();
  // Sends the request and waits for the first byte of the answer; a kept
  // connection that the server has dropped is opened again once.
  void SendRequest(const std::string& request, bool fresh);

  CurrentUrl url_;
  Connection connection_;
  std::string connectedHost_;
  uint16_t connectedPort_ = 0;
  CookieStore cookies_;
};

}  // namespace quillet
