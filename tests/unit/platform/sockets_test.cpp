// The system's TCP calls against a scripted loopback server.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/Sockets.h"
#include "support/LoopbackServer.h"

namespace quillet {
namespace {

using platform::SocketHandle;
using platform::Sockets;
using testing::LoopbackServer;
using testing::Peer;
using namespace std::chrono_literals;

constexpr platform::Ipv4Address kLoopback = 0x7F000001;

// A connected socket to the server, closed when the test is done with it.
class Client {
 public:
  explicit Client(uint16_t port) {
    EXPECT_EQ(Sockets().tcpOpen(socket_), 0);
    error_ = Sockets().tcpConnect(socket_, kLoopback, port, 5000);
  }
  ~Client() { Sockets().close(socket_); }
  SocketHandle socket() const { return socket_; }
  int error() const { return error_; }

  // Everything until the server closes, waiting at most 5 s for each piece.
  std::string ReadToEnd() {
    std::string all;
    for (;;) {
      bool readable = false;
      if (Sockets().waitReadable(socket_, 5000, readable) != 0 || !readable) return all + "<stall>";
      char buffer[7];
      size_t received = 0;
      if (const int error = Sockets().receive(socket_, buffer, sizeof buffer, received); error != 0)
        return all + "<error " + std::to_string(error) + ">";
      if (received == 0) return all;
      all.append(buffer, received);
    }
  }

 private:
  SocketHandle socket_ = platform::kNoSocket;
  int error_ = -1;
};

TEST(TcpCalls, SendReceiveAndOrderlyClose) {
  LoopbackServer server({[](Peer& peer) {
    const std::string head = peer.ReadHead();
    peer.Send("got " + std::to_string(head.size()) + " bytes");
    peer.Close();
  }});
  Client client(server.port());
  ASSERT_EQ(client.error(), 0);
  const std::string request = "GET / HTTP/1.1\r\n" + std::string(100000, 'h') + "\r\n\r\n";
  ASSERT_EQ(Sockets().send(client.socket(), request.data(), request.size(), 5000), 0);
  EXPECT_EQ(client.ReadToEnd(), "got " + std::to_string(request.size()) + " bytes");
  EXPECT_EQ(server.received(), request);
}

TEST(TcpCalls, AResetIsReportedAsConnectionReset) {
  if (testing::RunningUnderWine()) GTEST_SKIP() << "Wine's recv reports a reset as an orderly end";
  LoopbackServer server({[](Peer& peer) {
    peer.AwaitData();
    peer.Reset();
  }});
  Client client(server.port());
  ASSERT_EQ(client.error(), 0);
  ASSERT_EQ(Sockets().send(client.socket(), "x\r\n\r\n", 5, 5000), 0);
  EXPECT_EQ(client.ReadToEnd(), "<error 10054>");
}

TEST(TcpCalls, ARefusedConnectAndAWaitThatRunsOut) {
  uint16_t closedPort = 0;
  {
    LoopbackServer gone({});
    closedPort = gone.port();
  }
  EXPECT_EQ(Client(closedPort).error(), platform::kWsaConnectionRefused);

  LoopbackServer silent({[](Peer& peer) { peer.AwaitClose(); }});
  Client client(silent.port());
  ASSERT_EQ(client.error(), 0);
  bool readable = true;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Sockets().waitReadable(client.socket(), 150, readable), 0);
  EXPECT_FALSE(readable);
  EXPECT_GE(std::chrono::steady_clock::now() - start, 140ms);
}

}  // namespace
}  // namespace quillet
