// One TCP connection of the HTTP client with its receive buffer: connecting
// and sending through the socket table, and reads that wait a bounded time
// for each piece of data. The response parsers read through ByteSource.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Sockets.h"

namespace quillet {

inline constexpr const char* kEIdReadTimeout = "EIdReadTimeout";

// What the response parsers read from: a connection, or bytes in memory.
class ByteSource {
 public:
  // The buffered bytes, after waiting for more when none are buffered;
  // empty when the peer has closed. Raises on a failed or timed-out wait.
  virtual std::string_view Peek() = 0;
  // Drops count bytes of those Peek gave.
  virtual void Consume(size_t count) = 0;

 protected:
  ~ByteSource() = default;
};

class Connection final : public ByteSource {
 public:
  Connection() = default;
  ~Connection() { Close(); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Connects to address and port from any local address and port; raises
  // EIdSocketError, 10060 when the connect does not complete in time.
  void Open(platform::Ipv4Address address, uint16_t port);
  void Close();
  bool open() const { return socket_ != platform::kNoSocket; }

  // Sends all bytes; 0 or the Windows Sockets error number.
  int Send(std::string_view bytes);

  // Waits for the first byte after a request: 0 when data is buffered, else
  // the socket error number or kPeerClosed, so that a kept connection the
  // server has dropped can be opened again. Raises a read timeout.
  static constexpr int kPeerClosed = -1;
  int AwaitData();

  // How long each wait for data may last, in milliseconds.
  void SetReadWait(uint32_t milliseconds) { readWaitMs_ = milliseconds; }

  // True when the peer's close has been read.
  bool peerClosed() const { return peerClosed_; }
  // Bytes received and not yet read.
  size_t buffered() const { return end_ - start_; }

  std::string_view Peek() override;
  void Consume(size_t count) override;

 private:
  // Receives into the empty buffer; 0 or the error number. Raises a read
  // timeout when nothing comes within the wait.
  int Fill();

  platform::SocketHandle socket_ = platform::kNoSocket;
  uint32_t readWaitMs_ = 0;
  bool peerClosed_ = false;
  // One socket read's worth: the receive buffer size of the client.
  static constexpr size_t kReceiveSize = 32768;
  char buffer_[kReceiveSize];
  size_t start_ = 0;
  size_t end_ = 0;
};

}  // namespace quillet
