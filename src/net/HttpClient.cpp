// One HTTP exchange in three steps: the choice of the connection, the
// exchange itself, and the decision to keep the connection or close it.
#include "net/HttpClient.h"

#include "base/Ascii.h"
#include "frame/Options.h"
#include "net/Address.h"
#include "net/HttpRequest.h"
#include "net/Scan.h"
#include "net/SocketFailure.h"

namespace quillet {
namespace {

// The status line and the header block, interim answers included, arrive
// within a minute of the request, however slowly they trickle: a server
// must not hold the mail client for longer before it says what it sends.
constexpr uint32_t kHeadWaitMs = 60000;

// A success body keeps a pace: every minute brings at least 1 KiB, or the
// read times out. A slow but steady download goes on.
constexpr uint32_t kBodyPaceMs = 60000;
constexpr size_t kBodyPaceBytes = 1024;

// The body of a failing response is only informative: all of it arrives
// within 2 s, and only its start is read (past it the connection is not
// kept).
constexpr uint32_t kErrorBodyWaitMs = 2000;
constexpr uint64_t kErrorBodyRead = 65536;

// Closes the connection when the exchange ends by a failure: the client can
// no longer know where the server's bytes stand.
class CloseOnFailure {
 public:
  explicit CloseOnFailure(Connection& connection) : connection_(connection) {}
  ~CloseOnFailure() {
    if (armed_) connection_.Close();
  }
  CloseOnFailure(const CloseOnFailure&) = delete;
  CloseOnFailure& operator=(const CloseOnFailure&) = delete;
  void Release() { armed_ = false; }

 private:
  Connection& connection_;
  bool armed_ = true;
};

// Where the body of a failing response goes: it is read only to keep the
// connection in step.
class Discarded final : public BodySink {
 public:
  void Expect(uint64_t) override {}
  void Write(std::string_view) override {}
};

// The current URL's port, which must be a decimal number of a port.
uint16_t ConnectPort(const std::string& port) {
  const std::optional<uint64_t> value =
      port.size() <= kMaxPortDigits ? ReadDigits(port, kPortCap) : std::nullopt;
  if (!value || *value >= kPortCap)
    Raise(kEConvertError, "'" + port + "' is not a valid integer value");
  return static_cast<uint16_t>(*value);
}

bool HasControlBytes(std::string_view text) {
  for (const char c : text)
    if (IsBlankOrControl(c) || c == '\x7F') return true;
  return false;
}

bool SaysClose(std::string_view headers, std::string_view name) {
  const std::optional<std::string> value = FindHeader(headers, name);
  return value && EqualsIgnoringAsciiCase(Trim(*value), "close");
}

bool IsRedirect(const ResponseHead& head) {
  if (head.code >= 300 && head.code <= 399 && head.code != 304) return true;
  const std::optional<std::string> location = FindHeader(head.headers, "Location");
  return location && !location->empty();
}

bool IsSuccess(const ResponseHead& head) {
  return head.code >= 200 && head.code <= 299 && !IsRedirect(head);
}

// The redirects that name the new place in Location (RFC 9110 section 15.4);
// 300 and 305 leave the choice to the user agent, and are failures.
bool IsFollowable(const ResponseHead& head, std::string& location) {
  if (head.code != 301 && head.code != 302 && head.code != 303 && head.code != 307 &&
      head.code != 308)
    return false;
  const std::optional<std::string> value = FindHeader(head.headers, "Location");
  if (!value) return false;
  location = std::string(Trim(*value));
  return !location.empty();
}

bool IsHttps(const CurrentUrl& url) {
  return EqualsIgnoringAsciiCase(url.protocol, "https");
}

// What a kept connection that the server has dropped answers.
bool IsDropped(int error) {
  return error == Connection::kPeerClosed || error == platform::kWsaConnectionReset ||
         error == platform::kWsaConnectionAborted;
}

}  // namespace

void HttpClient::Connect() {
  // No resolver knows such a name; it must not reach a request's Host line.
  if (HasControlBytes(url_.host)) RaiseSocketError(platform::kWsaHostNotFound);
  connection_.Open(ResolveHost(url_.host), connectedPort_);
  if (connectedSecure_) connection_.StartTls(url_.host);
}

void HttpClient::SendRequest(const std::string& request, bool fresh) {
  const auto exchange = [&]() {
    int error = connection_.Send(request);
    if (error != 0) return error;
    connection_.StartDeadline(kHeadWaitMs);
    return connection_.AwaitData();
  };
  int error = exchange();
  if (error != 0 && !fresh && IsDropped(error)) {
    // A server may close an idle connection after the check before reuse:
    // the request goes once more, on a new connection, which is never
    // retried.
    Connect();
    error = exchange();
  }
  if (error == Connection::kPeerClosed) RaiseConnectionClosed();
  if (error != 0) RaiseSocketError(error);
}

bool HttpClient::ChooseConnection() {
  // Bytes that came unasked, or the server's close, since the last exchange
  // would be taken for this answer: such a connection is replaced.
  if (connection_.open() && !connection_.Quiet()) connection_.Close();
  return !connection_.open();
}

bool HttpClient::ReadAnswer(BodySink& sink, ResponseHead& head) {
  head = ReadResponseHead(connection_, [this](const ResponseHead& each) {
    const auto store = [this](const std::string& value) { cookies_.Store(value, url_.host); };
    ForEachHeader(each.headers, "Set-cookie", store);
    ForEachHeader(each.headers, "Set-cookie2", store);
  });
  bool keep =
      !SaysClose(head.headers, "Connection") && !SaysClose(head.headers, "Proxy-Connection");
  if (IsSuccess(head)) {
    if (!head.complete) Raise(kEIdException, "Undefined situation");
    connection_.StartPace(kBodyPaceMs, kBodyPaceBytes);
    if (head.code != 204) ReadBody(connection_, head, sink);
  } else if (head.complete && head.code != 304) {
    // A 304 answer has no body (RFC 9110 section 15.4.5).
    connection_.StartDeadline(kErrorBodyWaitMs);
    Discarded body;
    keep = ReadBody(connection_, head, body, kErrorBodyRead) && keep;
  }
  return keep;
}

void HttpClient::Exchange(BodySink& sink, ResponseHead& head) {
  const uint16_t port = ConnectPort(url_.port);
  const bool secure = IsHttps(url_);
  // A connection to another server is closed even when the request is then
  // refused.
  if (!EqualsIgnoringAsciiCase(url_.host, connectedHost_) || port != connectedPort_ ||
      secure != connectedSecure_) {
    connection_.Close();
    connectedHost_ = url_.host;
    connectedPort_ = port;
    connectedSecure_ = secure;
  }
  if (secure && !CurrentOptions().https)
    Raise(kEIdIOHandlerPropInvalid, "IOHandler value is not valid");

  cookies_.DeleteExpired();
  const std::string request =
      BuildRequest(RequestTarget(url_), HostValue(url_),
                   cookies_.CookieHeader(url_.host, url_.path + url_.document, secure));

  CloseOnFailure guard(connection_);
  const bool fresh = ChooseConnection();
  if (fresh) Connect();
  SendRequest(request, fresh);
  const bool keep = ReadAnswer(sink, head);
  guard.Release();
  // Bytes beyond the response put the connection out of step.
  if (!keep || connection_.peerClosed() || connection_.buffered() > 0) connection_.Close();
}

void HttpClient::Get(std::string_view url, BodySink& sink) {
  // With https in use, a URL without a scheme stays on the scheme it is
  // relative to; otherwise it is an http URL.
  MergeUrl(url_, url, CurrentOptions().https);
  redirected_ = false;
  for (uint32_t hops = 0;; ++hops) {
    ResponseHead head;
    Exchange(sink, head);
    if (IsSuccess(head)) return;
    std::string location;
    if (hops == CurrentOptions().redirects || !IsFollowable(head, location))
      Raise(kEIdHTTPProtocolException, head.statusLine);
    CurrentUrl next = url_;
    MergeUrl(next, location, true);
    // A page asked for over TLS must not be answered in the clear.
    if (IsHttps(url_) && !IsHttps(next))
      Raise(kERedirectError, "Redirect from https to http refused");
    url_ = std::move(next);
    redirected_ = true;
  }
}

}  // namespace quillet
