// The HTTP client of the component set (in the older vocabulary "TIdHTTP",
// the set's member "IdH"): one GET per fetch over a connection kept between
// calls, with the current URL and the cookie store, all of which live as long
// as the set. The user's options decide whether https URLs are fetched over
// TLS and how many redirects a fetch follows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/Failure.h"
#include "net/Connection.h"
#include "net/Cookies.h"
#include "net/HttpResponse.h"
#include "net/SocketLayer.h"
#include "net/UrlMerge.h"

namespace quillet {

inline constexpr const char* kEIdHTTPProtocolException = "EIdHTTPProtocolException";
inline constexpr const char* kEIdIOHandlerPropInvalid = "EIdIOHandlerPropInvalid";
inline constexpr const char* kERedirectError = "ERedirectError";

class HttpClient : public SocketLayerUser {
 public:
  // Merges url into the current URL, sends one GET over the kept or a new
  // connection and reads the 2xx response's body into sink, following the
  // redirects the options allow. Every other outcome raises.
  void Get(std::string_view url, BodySink& sink);

  const CurrentUrl& url() const { return url_; }
  // Whether the last fetch followed a redirect, so that its answer came
  // from another URL than the one asked for.
  bool redirected() const { return redirected_; }
  const CookieStore& cookies() const { return cookies_; }
  bool connected() const { return connection_.open(); }

 private:
  // Closes the kept connection when it is no longer quiet; answers whether
  // the exchange runs on a new one.
  bool ChooseConnection();
  // One request to the current URL and its answer, whose head is left in
  // head; raises for a failure other than a failing status.
  void Exchange(BodySink& sink, ResponseHead& head);
  // Opens the connection to the current host and port.
  void Connect();
  // Sends the request and waits for the first byte of the answer; a kept
  // connection that the server has dropped is opened again once.
  void SendRequest(const std::string& request, bool fresh);
  // Reads the answer to the request sent: its head, storing its cookies, and
  // its body into sink on success, else the start of the body of a failure
  // into nothing. Answers whether the connection may be kept, and raises for
  // a failing answer only once the connection is settled.
  bool ReadAnswer(BodySink& sink, ResponseHead& head);

  CurrentUrl url_;
  Connection connection_;
  std::string connectedHost_;
  uint16_t connectedPort_ = 0;
  bool connectedSecure_ = false;
  bool redirected_ = false;
  CookieStore cookies_;
};

}  // namespace quillet
