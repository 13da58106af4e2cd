// A scripted TCP server on 127.0.0.1 for tests of the network code: it runs
// on a thread of its own, takes connections one after another, and plays one
// script per connection, recording every byte it receives. Every wait is
// bounded, so a test whose client misbehaves fails instead of hanging.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "support/TestSockets.h"

namespace quillet::testing {

// How long a script waits for the client by default.
inline constexpr std::chrono::milliseconds kClientWait{5000};

// One accepted connection as its script sees it.
class Peer {
 public:
  Peer(TestSocket socket, std::string& received, std::mutex& lock);

  // Reads until the bytes received on this connection end a request head
  // ("\r\n\r\n") that has not been read yet; the head, or empty when the
  // client closed or nothing came within wait.
  std::string ReadHead(std::chrono::milliseconds wait = kClientWait);

  // False when the client is gone.
  bool Send(const std::string& bytes);

  // Waits until the client closes; true when it did within wait.
  bool AwaitClose(std::chrono::milliseconds wait = kClientWait);

  // Waits until the client has sent something, without reading it; true
  // when it did within wait.
  bool AwaitData(std::chrono::milliseconds wait = kClientWait);

  void Close();
  // Ends the connection with a reset. Unread data makes every system send
  // one (Wine's close ignores a zero linger time otherwise).
  void Reset();

  bool closed() const { return socket_ == kNoTestSocket; }

 private:
  // Receives what is there within wait; false when the client closed or
  // nothing came.
  bool ReceiveMore(std::chrono::milliseconds wait);

  TestSocket socket_;
  std::string pending_;
  std::string& received_;
  std::mutex& lock_;
};

using Script = std::function<void(Peer&)>;

class LoopbackServer {
 public:
  // Plays scripts[i] on the i-th connection; a connection beyond the last
  // script is closed at once. The connection stays open after its script
  // unless the script ends it; it is closed when the next one is accepted.
  explicit LoopbackServer(std::vector<Script> scripts);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  uint16_t port() const { return port_; }
  // "http://127.0.0.1:PORT" followed by path.
  std::string Url(const std::string& path) const;

  // Connections accepted so far.
  int accepted() const { return accepted_; }
  // Every byte received, over all connections in order.
  std::string received() const;

 private:
  void Run(std::vector<Script> scripts);

  TestSocket listener_ = kNoTestSocket;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> accepted_{0};
  mutable std::mutex lock_;
  std::string received_;
  std::thread thread_;
};

}  // namespace quillet::testing
