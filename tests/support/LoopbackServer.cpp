// The scripted loopback server.
#include "support/LoopbackServer.h"

namespace quillet::testing {
namespace {

using Clock = std::chrono::steady_clock;

// How often the accepting loop looks whether the server is being stopped.
constexpr int kAcceptSliceMs = 50;

int Milliseconds(Clock::duration left) {
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(left).count();
  return ms < 0 ? 0 : static_cast<int>(ms);
}

}  // namespace

Peer::Peer(TestSocket socket, std::string& received, std::mutex& lock)
    : socket_(socket), received_(received), lock_(lock) {}

bool Peer::ReceiveMore(std::chrono::milliseconds wait) {
  if (closed() || !ReadableWithin(socket_, static_cast<int>(wait.count()))) return false;
  char buffer[16384];
  const long count = ReceiveSome(socket_, buffer, sizeof buffer);
  if (count <= 0) return false;
  pending_.append(buffer, static_cast<size_t>(count));
  std::lock_guard<std::mutex> hold(lock_);
  received_.append(buffer, static_cast<size_t>(count));
  return true;
}

std::string Peer::ReadHead(std::chrono::milliseconds wait) {
  const Clock::time_point deadline = Clock::now() + wait;
  for (;;) {
    if (const size_t end = pending_.find("\r\n\r\n"); end != std::string::npos) {
      std::string head = pending_.substr(0, end + 4);
      pending_.erase(0, end + 4);
      return head;
    }
    const Clock::duration left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) return {};
    if (!ReceiveMore(std::chrono::milliseconds(Milliseconds(left)))) return {};
  }
}

bool Peer::Send(const std::string& bytes) {
  return !closed() && SendAll(socket_, bytes);
}

bool Peer::AwaitClose(std::chrono::milliseconds wait) {
  const Clock::time_point deadline = Clock::now() + wait;
  while (!closed()) {
    const int left = Milliseconds(deadline - Clock::now());
    if (left == 0 || !ReadableWithin(socket_, left)) return false;
    char buffer[4096];
    const long count = ReceiveSome(socket_, buffer, sizeof buffer);
    if (count <= 0) return true;
    std::lock_guard<std::mutex> hold(lock_);
    received_.append(buffer, static_cast<size_t>(count));
  }
  return true;
}

bool Peer::AwaitData(std::chrono::milliseconds wait) {
  return !closed() && ReadableWithin(socket_, static_cast<int>(wait.count()));
}

void Peer::Close() {
  if (closed()) return;
  CloseTestSocket(socket_);
  socket_ = kNoTestSocket;
}

void Peer::Reset() {
  if (closed()) return;
  ResetTestSocket(socket_);
  socket_ = kNoTestSocket;
}

LoopbackServer::LoopbackServer(std::vector<Script> scripts) {
  listener_ = ListenOnLoopback(port_);
  if (listener_ != kNoTestSocket)
    thread_ = std::thread(&LoopbackServer::Run, this, std::move(scripts));
}

LoopbackServer::~LoopbackServer() {
  stopping_ = true;
  if (thread_.joinable()) thread_.join();
  if (listener_ != kNoTestSocket) CloseTestSocket(listener_);
}

std::string LoopbackServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::string LoopbackServer::received() const {
  std::lock_guard<std::mutex> hold(lock_);
  return received_;
}

void LoopbackServer::Run(std::vector<Script> scripts) {
  size_t next = 0;
  TestSocket kept = kNoTestSocket;
  while (!stopping_) {
    const TestSocket socket = AcceptWithin(listener_, kAcceptSliceMs);
    if (socket == kNoTestSocket) continue;
    if (kept != kNoTestSocket) CloseTestSocket(kept);
    ++accepted_;
    Peer peer(socket, received_, lock_);
    if (next < scripts.size()) {
      scripts[next++](peer);
    } else {
      peer.Close();
    }
    // A script that leaves its connection open leaves it for the client to
    // use or close; it ends at the latest with the next connection.
    kept = peer.closed() ? kNoTestSocket : socket;
  }
  if (kept != kNoTestSocket) CloseTestSocket(kept);
}

}  // namespace quillet::testing
