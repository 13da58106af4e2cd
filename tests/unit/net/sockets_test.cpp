// The socket layer: the system's TCP calls against a scripted loopback
// server, the error texts, the address check, host resolution and HOSTNAME
// through a replaced table of calls.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "frame/Failure.h"
#include "host/Provider.h"
#include "net/Address.h"
#include "net/DataMod.h"
#include "net/NetMacros.h"
#include "net/SocketFailure.h"
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

TEST(SocketError, MessagesCarryTheNumberAndItsText) {
  EXPECT_EQ(SocketErrorMessage(10061), "Socket Error # 10061\r\nConnection refused.");
  EXPECT_EQ(SocketErrorMessage(10035), "Socket Error # 10035\r\nOperation would block. ");
  EXPECT_EQ(SocketErrorMessage(10066), "Socket Error # 10066\r\nDirectory not empty");
  EXPECT_EQ(SocketErrorMessage(11001), "Socket Error # 11001\r\n") << "resolver numbers have none";
  EXPECT_EQ(SocketErrorMessage(10003), "Socket Error # 10003\r\n");
  try {
    RaiseSocketError(10060);
    FAIL();
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.kind(), "EIdSocketError");
    EXPECT_EQ(failure.message(), "Socket Error # 10060\r\nConnection timed out.");
  }
}

TEST(LooksLikeIPv4, ReadsFieldsWithTheRunTimeLibrarysIntegerSyntax) {
  struct Case {
    const char* text;
    bool address;
  };
  const Case cases[] = {
      {"127.0.0.1", true},   {" \t10.0.0.1 \r\n", true},
      {"10.0.0.1.5", true},  {"1.2.3.4.x", true},
      {"10.0.0", false},     {"10.0.0.256", false},
      {"1.2.3.", false},     {"", false},
      {"a.b.c.d", false},    {"$7F.0.0.1", true},
      {"x7f.0.0.1", true},   {"X7F.0.0.1", true},
      {"0x7F.0.0.1", true},  {"0XfF.0.0.1", true},
      {"$100.0.0.1", false}, {"0x.0.0.1", false},
      {"$.0.0.1", false},    {"1. 2.  3.4", true},
      {"1 .2.3.4", false},   {"+1.-0.0.1", true},
      {"-1.0.0.1", false},   {"1.2.3.4 5", false},
      {"007.0.0.1", true},   {"99999999999999999999.0.0.1", false},
      {"1..2.3", false},     {"0x1g.0.0.1", false},
      {"1.2.3.+", false},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksLikeIPv4(c.text), c.address) << c.text;
}

// Replaces the system's socket calls for one test with calls that record
// what they were asked and answer as the test says.
class FakeSockets : public ::testing::Test {
 protected:
  static inline std::vector<std::string> asked;
  static inline int resolveError = 0;
  static inline int reverseError = 0;

  void SetUp() override {
    asked.clear();
    resolveError = reverseError = 0;
    calls_ = Sockets();
    calls_.resolveName = [](const std::string& name, platform::Ipv4Address& address) {
      asked.push_back("resolve " + name);
      address = 0x0A000001;
      return resolveError;
    };
    calls_.reverseLookup = [](platform::Ipv4Address address, std::string& name) {
      asked.push_back("reverse " + DottedAddress(address));
      name = "host.example";
      return reverseError;
    };
    calls_.classicAddress = Classic;
    platform::ReplaceSockets(&calls_);
    CreateDataMod();
  }
  void TearDown() override {
    FreeDataMod();
    platform::ReplaceSockets(nullptr);
  }

  static platform::Ipv4Address Classic(const std::string& text) {
    asked.push_back("convert [" + text + "]");
    return system_.classicAddress(text);
  }

  static std::string HostName(std::vector<std::string> params) {
    host::HostProvider context;
    host::HostProvider provider(std::move(params));
    std::string result;
    HostNameMacro(&context, &provider, result);
    return result;
  }

  static inline platform::SocketCalls calls_{};
  static inline const platform::SocketCalls system_ = Sockets();
};

TEST_F(FakeSockets, HostResolutionAsksTheResolverOnlyForNames) {
  EXPECT_EQ(ResolveHost("LocalHost"), kLoopback);
  EXPECT_EQ(ResolveHost("192.168.010.1"), 0xC0A80801u) << "the classic conversion reads octal";
  EXPECT_EQ(ResolveHost("mail.example"), 0x0A000001u);
  EXPECT_EQ(ResolveHost("1.2.3.4.5"), 0x0A000001u) << "five fields are a name";
  const std::vector<std::string> expected = {"convert [192.168.010.1]", "resolve mail.example",
                                             "resolve 1.2.3.4.5"};
  EXPECT_EQ(asked, expected);
  resolveError = platform::kWsaHostNotFound;
  try {
    ResolveHost("nowhere.example");
    FAIL();
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.kind(), "EIdSocketError");
    EXPECT_EQ(failure.message(), "Socket Error # 11001\r\n");
  }
}

TEST_F(FakeSockets, HostNameLooksUpAddressesAndPassesOtherTextThrough) {
  EXPECT_EQ(HostName({" 127.0.0.1 ", "ignored"}), "host.example");
  EXPECT_EQ(HostName({"mail.example"}), "mail.example");
  EXPECT_EQ(HostName({"1.2.3"}), "1.2.3");
  EXPECT_EQ(HostName({"256.1.1.1"}), "256.1.1.1");
  EXPECT_EQ(HostName({}), "");
  // How blanks around the address convert is the system's own rule.
  const std::vector<std::string> expected = {
      "convert [ 127.0.0.1 ]", "reverse " + DottedAddress(system_.classicAddress(" 127.0.0.1 "))};
  EXPECT_EQ(asked, expected) << "the untrimmed text is converted; names are never looked up";
}

TEST_F(FakeSockets, AddressesTheConversionRejectsReachTheResolverAsAllOnes) {
  reverseError = platform::kWsaNoData;
  for (const char* text : {"1.2.3.4.5", "$7F.0.0.1"}) {
    asked.clear();
    try {
      HostName({text});
      FAIL() << text;
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.kind(), "EIdSocketError");
      EXPECT_EQ(failure.message(), "Socket Error # 11004\r\n");
    }
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1], "reverse 255.255.255.255") << text;
  }
}

TEST(HostNameMacro, NeedsTheComponentSet) {
  FreeDataMod();
  host::HostProvider context;
  host::HostProvider params({"127.0.0.1"});
  std::string result;
  EXPECT_THROW(HostNameMacro(&context, &params, result), Failure);
}

}  // namespace
}  // namespace quillet
