// One TCP connection of the HTTP client with its receive buffer: connecting
// and sending through the socket table, and reads bound by a deadline for a
// whole part of the exchange, or by a pace that the data must keep. A TLS
// connection runs the same reads and sends below its session, so that every
// bound holds for it alike. The response parsers read through ByteSource.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "net/ByteSource.h"
#include "platform/Sockets.h"
#include "platform/Tls.h"

namespace quillet {

inline constexpr const char* kEIdReadTimeout = "EIdReadTimeout";
inline constexpr const char* kETlsError = "ETlsError";
inline constexpr const char* kETlsCertificateError = "ETlsCertificateError";

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

  // Makes the open connection a TLS one with host, whose certificate must
  // name it: the handshake completes within a minute or raises. Raises
  // ETlsError or ETlsCertificateError, or a socket error.
  void StartTls(const std::string& host);

  // Sends all bytes; 0 or the Windows Sockets error number, 10060 when the
  // peer takes nothing for a minute.
  int Send(std::string_view bytes);

  // True when nothing has arrived since the last exchange and the peer has
  // not closed, found without waiting: only such a connection is in step
  // for the next request.
  bool Quiet();

  // Waits for the first byte after a request: 0 when data is buffered, else
  // the socket error number or kPeerClosed, so that a kept connection the
  // server has dropped can be opened again. Raises a read timeout.
  static constexpr int kPeerClosed = -1;
  int AwaitData();

  // Every read from now on must be done within milliseconds: reads past
  // then raise "Read Timeout".
  void StartDeadline(uint32_t milliseconds);
  // From now on every window of milliseconds must bring at least bytes, or
  // the read raises "Read Timeout".
  void StartPace(uint32_t milliseconds, size_t bytes);

  // True when the peer's close has been read.
  bool peerClosed() const { return peerClosed_; }
  // Bytes received and not yet read.
  size_t buffered() const { return tls_ != nullptr ? plain_.size() - plainStart_ : end_ - start_; }

  std::string_view Peek() override;
  void Consume(size_t count) override;

 private:
  // Receives into the empty buffer; 0 or the error number. Raises a read
  // timeout when nothing comes within the wait.
  int Fill();
  // Sends bytes as they are, below any TLS session.
  int SendRaw(std::string_view bytes);
  // Receives from the socket into the empty buffer, as Fill.
  int FillRaw();
  // Decrypts received bytes until data comes, the peer's close-notify or
  // its plain close; 0 or the error number.
  int FillTls();

  platform::SocketHandle socket_ = platform::kNoSocket;
  // The current window: its start on the socket table's clock, its length,
  // the bytes that renew it (0 for a plain deadline) and those it brought.
  uint32_t windowStart_ = 0;
  uint32_t windowMs_ = 0;
  size_t paceBytes_ = 0;
  size_t windowBytes_ = 0;
  bool peerClosed_ = false;
  // One socket read's worth: the receive buffer size of the client.
  static constexpr size_t kReceiveSize = 32768;
  char buffer_[kReceiveSize];
  size_t start_ = 0;
  size_t end_ = 0;
  // The TLS session, when there is one, and the data it decrypted.
  platform::TlsSession* tls_ = nullptr;
  std::string plain_;
  size_t plainStart_ = 0;
  // Whether the peer closed with its close-notify, or just closed the
  // socket, which in the middle of a TLS answer is a truncation.
  bool closeNotify_ = false;
};

}  // namespace quillet
