// The connection's socket work and its buffer.
#include "net/Connection.h"

#include "frame/Failure.h"
#include "net/SocketFailure.h"

namespace quillet {
namespace {

// No connect waits longer than a minute: a host that neither accepts nor
// refuses must not freeze the mail client.
constexpr uint32_t kConnectWaitMs = 60000;

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
}

int Connection::Send(std::string_view bytes) {
  return platform::Sockets().send(socket_, bytes.data(), bytes.size(), kSendStallMs);
}

bool Connection::Quiet() {
  if (buffered() > 0 || peerClosed_) return false;
  bool readable = false;
  return platform::Sockets().waitReadable(socket_, 0, readable) == 0 && !readable;
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
  }
  return std::string_view(buffer_ + start_, end_ - start_);
}

void Connection::Consume(size_t count) {
  start_ += count;
}

}  // namespace quillet
