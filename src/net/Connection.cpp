// The connection's socket work and its buffer.
#include "net/Connection.h"

#include "frame/Failure.h"
#include "net/SocketFailure.h"

namespace quillet {
namespace {

// No connect waits longer than a minute: a host that neither accepts nor
// refuses must not freeze the mail client.
constexpr uint32_t kConnectWaitMs = 60000;

// The whole TLS handshake, however slowly its records trickle, completes
// within a minute: the same bound as the answer's head.
constexpr uint32_t kHandshakeWaitMs = 60000;

// A quiet check reads what has come without waiting; records that carry no
// data (session tickets) are taken, but the check ends after this many
// reads, as a server sending record after record is not quiet.
constexpr int kQuietReads = 8;

[[noreturn]] void RaiseTls(platform::TlsFailure failure) {
  using platform::TlsFailure;
  switch (failure) {
    case TlsFailure::kUntrusted:
      Raise(kETlsCertificateError, "Server certificate not trusted");
    case TlsFailure::kNameMismatch:
      Raise(kETlsCertificateError, "Server certificate does not name the host");
    case TlsFailure::kExpired:
      Raise(kETlsCertificateError, "Server certificate expired");
    case TlsFailure::kProtocol:
      Raise(kETlsError, "TLS protocol error");
    case TlsFailure::kNone:
    case TlsFailure::kHandshake:
      break;
  }
  Raise(kETlsError, "TLS handshake failed");
}

[[noreturn]] void RaiseTruncated() {
  Raise(kETlsError, "TLS connection closed without close-notify");
}

// A send that the peer takes no byte of for a minute fails as a time-out:
// a server that never reads must not hold the mail client inside send.
constexpr uint32_t kSendStallMs = 60000;

}  // namespace

void Connection::Open(platform::Ipv4Address address, uint16_t port) {
  Close();
  platform::SocketHandle socket = platform::kNoSocket;
  if (const int error = platform::Sockets().tcpOpen(socket); error != 0) RaiseSocketError(error);
  if (const int error = platform::Sockets().tcpConnect(socket, address, port, kConnectWaitMs);
      error != 0) {
    platform::Sockets().close(socket);
    RaiseSocketError(error);
  }
  socket_ = socket;
}

void Connection::Close() {
  if (socket_ != platform::kNoSocket) platform::Sockets().close(socket_);
  socket_ = platform::kNoSocket;
  peerClosed_ = false;
  start_ = end_ = 0;
  platform::TlsClose(tls_);
  tls_ = nullptr;
  plain_.clear();
  plainStart_ = 0;
  closeNotify_ = false;
}

void Connection::StartTls(const std::string& host) {
  tls_ = platform::TlsOpen(host);
  if (tls_ == nullptr) RaiseTls(platform::TlsFailure::kHandshake);
  StartDeadline(kHandshakeWaitMs);
  std::string_view received;
  for (;;) {
    std::string toSend;
    bool done = false;
    const platform::TlsFailure failure = platform::TlsHandshake(tls_, received, toSend, done);
    start_ = end_ = 0;
    if (!toSend.empty()) {
      // An alert that tells the server why goes out before the failure.
      const int error = SendRaw(toSend);
      if (failure == platform::TlsFailure::kNone && error != 0) RaiseSocketError(error);
    }
    if (failure != platform::TlsFailure::kNone) RaiseTls(failure);
    if (done) return;
    if (const int error = FillRaw(); error != 0) RaiseSocketError(error);
    if (peerClosed_) RaiseTls(platform::TlsFailure::kHandshake);
    received = std::string_view(buffer_ + start_, end_ - start_);
  }
}

int Connection::Send(std::string_view bytes) {
  if (tls_ == nullptr) return SendRaw(bytes);
  std::string records;
  if (const platform::TlsFailure failure = platform::TlsEncrypt(tls_, bytes, records);
      failure != platform::TlsFailure::kNone)
    RaiseTls(failure);
  return SendRaw(records);
}

int Connection::SendRaw(std::string_view bytes) {
  return platform::Sockets().send(socket_, bytes.data(), bytes.size(), kSendStallMs);
}

bool Connection::Quiet() {
  if (buffered() > 0 || peerClosed_) return false;
  for (int reads = 0; reads < kQuietReads; ++reads) {
    bool readable = false;
    if (platform::Sockets().waitReadable(socket_, 0, readable) != 0) return false;
    if (tls_ == nullptr || !readable) return !readable;
    size_t received = 0;
    if (platform::Sockets().receive(socket_, buffer_, sizeof buffer_, received) != 0 ||
        received == 0)
      return false;
    bool closed = false;
    if (platform::TlsDecrypt(tls_, std::string_view(buffer_, received), plain_, closed) !=
            platform::TlsFailure::kNone ||
        closed || !plain_.empty())
      return false;
  }
  return false;
}

void Connection::StartDeadline(uint32_t milliseconds) {
  StartPace(milliseconds, 0);
}

void Connection::StartPace(uint32_t milliseconds, size_t bytes) {
  windowStart_ = platform::Sockets().tickCount();
  windowMs_ = milliseconds;
  paceBytes_ = bytes;
  windowBytes_ = 0;
}

int Connection::Fill() {
  return tls_ != nullptr ? FillTls() : FillRaw();
}

int Connection::FillTls() {
  plain_.clear();
  plainStart_ = 0;
  std::string_view received;
  for (;;) {
    bool closed = false;
    if (const platform::TlsFailure failure = platform::TlsDecrypt(tls_, received, plain_, closed);
        failure != platform::TlsFailure::kNone)
      RaiseTls(failure);
    if (closed) {
      closeNotify_ = true;
      peerClosed_ = true;
    }
    if (!plain_.empty() || peerClosed_) return 0;
    if (const int error = FillRaw(); error != 0) return error;
    received = std::string_view(buffer_ + start_, end_ - start_);
  }
}

int Connection::FillRaw() {
  start_ = end_ = 0;
  if (peerClosed_) return 0;
  const uint32_t elapsed = platform::Sockets().tickCount() - windowStart_;
  if (elapsed >= windowMs_) Raise(kEIdReadTimeout, "Read Timeout");
  bool readable = false;
  if (const int error = platform::Sockets().waitReadable(socket_, windowMs_ - elapsed, readable);
      error != 0)
    return error;
  if (!readable) Raise(kEIdReadTimeout, "Read Timeout");
  size_t received = 0;
  if (const int error = platform::Sockets().receive(socket_, buffer_, sizeof buffer_, received);
      error != 0)
    return error;
  end_ = received;
  if (received == 0) peerClosed_ = true;
  windowBytes_ += received;
  if (paceBytes_ > 0 && windowBytes_ >= paceBytes_) StartPace(windowMs_, paceBytes_);
  return 0;
}

int Connection::AwaitData() {
  if (buffered() > 0) return 0;
  if (const int error = Fill(); error != 0) return error;
  return buffered() > 0 ? 0 : kPeerClosed;
}

std::string_view Connection::Peek() {
  if (buffered() == 0) {
    if (const int error = Fill(); error != 0) RaiseSocketError(error);
    // Without its close-notify, the end of a TLS stream may be an
    // attacker's cut: never the end of an answer.
    if (tls_ != nullptr && buffered() == 0 && !closeNotify_) RaiseTruncated();
  }
  if (tls_ != nullptr) return std::string_view(plain_).substr(plainStart_);
  return std::string_view(buffer_ + start_, end_ - start_);
}

void Connection::Consume(size_t count) {
  if (tls_ != nullptr)
    plainStart_ += count;
  else
    start_ += count;
}

}  // namespace quillet
