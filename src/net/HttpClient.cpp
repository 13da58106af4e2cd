// One HTTP exchange: connection choice and reuse, the request, the response
// head, the decision on its code and the body.
#include "net/IdHTTP.h"

#include "net/Address.h"
#include "net/HttpRequest.h"
#include "net/SocketError.h"
#include "platform/Ascii.h"

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
// within 2 s, and only its start is kept (the rest is not read, and the
// connection is not kept then).
constexpr uint32_t kErrorBodyWaitMs = 2000;
constexpr uint64_t kErrorBodyKept = 65536;

constexpr uint16_t kLargestPort = 65535;

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

class KeptText final : public BodySink {
 public:
  void Expect(uint64_t length) override { text.reserve(static_cast<size_t>(length)); }
  void Write(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

uint16_t PortNumber(const std::string& port) {
  uint32_t value = 0;
  bool valid = !port.empty() && port.size() <= 5;
  for (const char c : port) {
    if (c < '0' || c > '9') valid = false;
    if (valid) value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  if (!valid || value > kLargestPort)
    Raise(kEConvertError, "'" + port + "' is not a valid integer value");
  return static_cast<uint16_t>(value);
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

// What a kept connection that the server has dropped answers.
bool IsDropped(int error) {
  return error == Connection::kPeerClosed || error == platform::kWsaConnectionReset ||
         error == platform::kWsaConnectionAborted;
}

}  // namespace

void TIdHTTP::Connect() {
  // No resolver knows such a name; it must not reach a request's Host line.
  if (HasControlBytes(url_.host)) RaiseSocketError(platform::kWsaHostNotFound);
  connection_.Open(ResolveHost(url_.host), connectedPort_);
}

void TIdHTTP::SendRequest(const std::string& request, bool fresh) {
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

void TIdHTTP::Get(std::string_view url, BodySink& sink) {
  MergeUrl(url_, url);
  const uint16_t port = PortNumber(url_.port);
  if (!EqualsIgnoringAsciiCase(url_.host, connectedHost_) || port != connectedPort_) {
    connection_.Close();
    connectedHost_ = url_.host;
    connectedPort_ = port;
  }
  if (EqualsIgnoringAsciiCase(url_.protocol, "https"))
    Raise(kEIdIOHandlerPropInvalid, "IOHandler value is not valid");

  cookies_.DeleteExpired();
  const std::string request =
      BuildRequest(RequestTarget(url_), HostValue(url_),
                   cookies_.CookieHeader(url_.host, url_.path + url_.document));

  CloseOnFailure guard(connection_);
  // Bytes that came unasked, or the server's close, since the last exchange
  // would be taken for this answer: such a connection is replaced.
  if (connection_.open() && !connection_.Quiet()) connection_.Close();
  const bool fresh = !connection_.open();
  if (fresh) Connect();
  SendRequest(request, fresh);

  ResponseHead head = ReadResponseHead(connection_, [this](const ResponseHead& each) {
    const auto store = [this](const std::string& value) { cookies_.Store(value, url_.host); };
    ForEachHeader(each.headers, "Set-cookie", store);
    ForEachHeader(each.headers, "Set-cookie2", store);
  });
  bool keep =
      !SaysClose(head.headers, "Connection") && !SaysClose(head.headers, "Proxy-Connection");

  const bool success = head.code >= 200 && head.code <= 299 && !IsRedirect(head);
  KeptText errorBody;
  if (success) {
    if (!head.complete) Raise(kEIdException, "Undefined situation");
    connection_.StartPace(kBodyPaceMs, kBodyPaceBytes);
    if (head.code != 204) ReadBody(connection_, head, sink);
  } else if (head.complete && head.code != 304) {
    // A 304 answer has no body (RFC 9110 section 15.4.5).
    connection_.StartDeadline(kErrorBodyWaitMs);
    keep = ReadBody(connection_, head, errorBody, kErrorBodyKept) && keep;
  }

  guard.Release();
  // Bytes beyond the response put the connection out of step.
  if (!keep || connection_.peerClosed() || connection_.buffered() > 0) connection_.Close();
  if (!success) throw HttpProtocolFailure(head.statusLine, head.code, std::move(errorBody.text));
}

}  // namespace quillet
