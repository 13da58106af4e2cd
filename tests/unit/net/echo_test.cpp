// PING's ICMP messages and echo loop: the request byte for byte, the reply
// check on crafted datagrams, and the loop and the macro through a replaced
// table of ICMP calls, whose clock moves only when the test says, so that the
// 5000 ms time-out takes no time. The system's echo service is tried once for
// real, on the loopback address.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/ComponentSet.h"
#include "frame/Failure.h"
#include "frame/SetMakeUp.h"
#include "host/Provider.h"
#include "net/Address.h"
#include "net/EchoClient.h"
#include "net/EchoPacket.h"
#include "net/NetMacros.h"
#include "platform/Icmp.h"
#include "support/ReplyLines.h"

namespace quillet {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint16_t kOurs = 3489;
constexpr platform::Ipv4Address kPinged = 0x0A010203;  // 10.1.2.3
constexpr EchoOutcome kNoKind{};                       // for packets that are not accepted

TEST(EchoRequest, IsLaidOutByteForByte) {
  const auto request = BuildEchoRequest(0x1234, kOurs, 0x01020304);
  // Type, code, the checksum computed by hand over these bytes, identifier
  // 0x1234 and sequence 0x0DA1 little-endian, the tick count little-endian.
  const Bytes head = {0x08, 0x00, 0xC8, 0x87, 0x34, 0x12, 0xA1, 0x0D, 0x04, 0x03, 0x02, 0x01};
  EXPECT_EQ(Bytes(request.begin(), request.begin() + 12), head);
  EXPECT_EQ(Bytes(request.begin() + 12, request.begin() + 20), Bytes(8, 0));
  EXPECT_EQ(Bytes(request.begin() + 20, request.end()), Bytes(32, 'E'));
  // Any request verifies: its words add up to all ones (RFC 1071).
  for (const uint32_t ticks : {0u, 0xFFFFFFFFu, 0x80000001u}) {
    const auto other = BuildEchoRequest(0xFFFF, 0xFFFF, ticks);
    uint32_t sum = 0;
    for (size_t i = 0; i < other.size(); i += 2) sum += other[i] << 8 | other[i + 1];
    while (sum > 0xFFFF) sum = (sum & 0xFFFF) + (sum >> 16);
    EXPECT_EQ(sum, 0xFFFFu) << ticks;
  }
}

// An IP datagram: a header of words × 4 bytes (options zero) with the TTL
// and source, then the ICMP message.
Bytes Datagram(uint8_t words, uint8_t ttl, Bytes source, const Bytes& message) {
  Bytes datagram(words * 4u, 0);
  datagram[0] = static_cast<uint8_t>(0x40 | words);
  if (datagram.size() > 8) datagram[8] = ttl;
  if (datagram.size() > 9) datagram[9] = 1;  // ICMP
  for (size_t i = 0; i < source.size() && 12 + i < datagram.size(); ++i)
    datagram[12 + i] = source[i];
  datagram.insert(datagram.end(), message.begin(), message.end());
  return datagram;
}

// An echo message of type carrying identifier and sequence, with 44 bytes
// of data and its checksum (RFC 1071); a last byte other than "E" damages it.
Bytes Echo(uint8_t type, uint16_t sequence, uint16_t identifier = 0xBEEF, uint8_t last = 'E') {
  Bytes message(52, 'E');
  message[0] = type;
  message[1] = message[2] = message[3] = 0;
  message[4] = static_cast<uint8_t>(identifier);
  message[5] = static_cast<uint8_t>(identifier >> 8);
  message[6] = static_cast<uint8_t>(sequence);
  message[7] = static_cast<uint8_t>(sequence >> 8);
  uint32_t sum = 0;
  for (size_t i = 0; i < message.size(); i += 2) sum += message[i] << 8 | message[i + 1];
  while (sum > 0xFFFF) sum = (sum & 0xFFFF) + (sum >> 16);
  message[2] = static_cast<uint8_t>(~sum >> 8);
  message[3] = static_cast<uint8_t>(~sum);
  message.back() = last;
  return message;
}

// An ICMP error of type quoting our echo request behind a quoted IP header
// of quotedWords × 4 bytes.
Bytes ErrorQuoting(uint8_t type, uint16_t sequence, uint8_t quotedWords) {
  Bytes message = {type, 0, 0, 0, 0, 0, 0, 0};
  const Bytes quote = Datagram(quotedWords, 1, {127, 0, 0, 1}, Echo(8, sequence));
  message.insert(message.end(), quote.begin(), quote.begin() + quotedWords * 4 + 8);
  return message;
}

// The ICMP type each accepted kind of answer is crafted with above.
uint8_t TypeOf(EchoOutcome kind) {
  switch (kind) {
    case EchoOutcome::kUnreachable:
      return 3;
    case EchoOutcome::kTtlExceeded:
      return 11;
    default:
      return 0;
  }
}

TEST(ReplyCheck, CraftedDatagrams) {
  const Bytes router = {192, 0, 2, 1};
  struct Case {
    const char* what;
    Bytes datagram;
    ReplyCheck check;
    EchoOutcome kind;
  };
  const Case cases[] = {
      {"echo reply", Datagram(5, 57, {10, 1, 2, 3}, Echo(0, kOurs)), ReplyCheck::kAccepted,
       EchoOutcome::kEcho},
      {"our own request looped back", Datagram(5, 128, {10, 1, 2, 3}, Echo(8, kOurs)),
       ReplyCheck::kNoMatch, kNoKind},
      {"a reply from elsewhere", Datagram(5, 64, {127, 1, 2, 3}, Echo(0, kOurs)),
       ReplyCheck::kNoMatch, kNoKind},
      {"another process's reply", Datagram(5, 64, {10, 1, 2, 3}, Echo(0, kOurs, 0x1234)),
       ReplyCheck::kNoMatch, kNoKind},
      {"a damaged reply", Datagram(5, 64, {10, 1, 2, 3}, Echo(0, kOurs, 0xBEEF, 'F')),
       ReplyCheck::kNoMatch, kNoKind},
      {"another echo",
       Datagram(5, 64, {127, 0, 0, 1}, Echo(0, kOurs + 1)),
       ReplyCheck::kNoMatch,
       {}},
      {"unreachable quoting ours", Datagram(5, 250, router, ErrorQuoting(3, kOurs, 5)),
       ReplyCheck::kAccepted, EchoOutcome::kUnreachable},
      {"unreachable quoting another",
       Datagram(5, 250, router, ErrorQuoting(3, 7, 5)),
       ReplyCheck::kNoMatch,
       {}},
      {"TTL exceeded quoting ours", Datagram(5, 250, router, ErrorQuoting(11, kOurs, 5)),
       ReplyCheck::kAccepted, EchoOutcome::kTtlExceeded},
      {"TTL exceeded quoting another",
       Datagram(5, 250, router, ErrorQuoting(11, 0xA10D, 5)),
       ReplyCheck::kNoMatch,
       {}},
      {"nothing", {}, ReplyCheck::kNoMatch, {}},
      {"header and 7 bytes", Datagram(5, 64, router, Bytes(7, 0)), ReplyCheck::kNoMatch, {}},
      {"options, 8 bytes short", Datagram(15, 64, router, Bytes(7, 0)), ReplyCheck::kNoMatch, {}},
      {"unknown type", Datagram(5, 64, router, Echo(5, kOurs)), ReplyCheck::kNoMatch, {}},
      {"timestamp reply", Datagram(5, 64, router, Bytes(8, 14)), ReplyCheck::kNoMatch, {}},
      {"parameter problem quoting ours", Datagram(5, 64, router, ErrorQuoting(12, kOurs, 5)),
       ReplyCheck::kNonEchoType, kNoKind},
      {"options before an echo reply", Datagram(6, 64, {10, 1, 2, 3}, Echo(0, kOurs)),
       ReplyCheck::kAccepted, EchoOutcome::kEcho},
      // The quote is read behind its own header's length.
      {"options before a TTL exceeded", Datagram(6, 64, router, ErrorQuoting(11, kOurs, 5)),
       ReplyCheck::kAccepted, EchoOutcome::kTtlExceeded},
  };
  for (const Case& c : cases) {
    EchoStatus status{1, "unchanged", 1, 1, 77, 1, EchoOutcome::kTimeOut};
    EXPECT_EQ(CheckEchoReply(c.datagram, 0xBEEF, kOurs, kPinged, status), c.check) << c.what;
    if (c.check != ReplyCheck::kAccepted) {
      EXPECT_EQ(status.source, "unchanged") << c.what;
      continue;
    }
    EXPECT_EQ(status.bytesReceived, static_cast<int32_t>(c.datagram.size())) << c.what;
    EXPECT_EQ(status.sequence, kOurs) << c.what;
    EXPECT_EQ(status.type, TypeOf(c.kind)) << c.what;
    EXPECT_EQ(status.outcome, c.kind) << c.what;
    EXPECT_EQ(status.roundTripMs, 77u) << c.what << ": the round trip is the loop's";
  }
  EchoStatus status;
  ASSERT_EQ(CheckEchoReply(Datagram(5, 57, {10, 1, 2, 3}, Echo(0, kOurs)), 0xBEEF, kOurs, kPinged,
                           status),
            ReplyCheck::kAccepted);
  EXPECT_EQ(status.source, "10.1.2.3");
  EXPECT_EQ(status.timeToLive, 57);
  EXPECT_EQ(status.bytesReceived, 72);
}

TEST(ReplyCheck, ADatagramTooShortForTheFieldReadNeverMatches) {
  // Each cut is its own allocation, so that AddressSanitizer sees any read
  // past its end.
  const Bytes error = Datagram(5, 250, {192, 0, 2, 1}, ErrorQuoting(3, kOurs, 5));
  for (size_t size = 28; size < error.size(); ++size) {
    const Bytes cut(error.begin(), error.begin() + static_cast<ptrdiff_t>(size));
    EchoStatus status;
    EXPECT_EQ(CheckEchoReply(cut, 0xBEEF, kOurs, kPinged, status), ReplyCheck::kNoMatch) << size;
  }
  // A header of one word leaves the source address beyond the end.
  Bytes tiny = {0x41, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xA1, 0x0D};
  EchoStatus status;
  EXPECT_EQ(CheckEchoReply(tiny, 0xBEEF, kOurs, kPinged, status), ReplyCheck::kNoMatch);
}

// The ICMP calls as the test plays them. The clock stands still except
// where a wait or a packet moves it.
struct Packet {
  uint32_t afterMs;
  Bytes datagram;
  int error = 0;  // what receiving it answers, when not receiveError
};

struct Played {
  static inline uint32_t now = 0;
  static inline std::vector<Packet> packets;
  static inline int openError = 0, ttlError = 0, sendError = 0, waitError = 0, receiveError = 0;
  static inline int serviceOpenError = 0, serviceError = 0;
  static inline platform::EchoAnswer serviceAnswer;
  static inline int opened = 0, closed = 0, servicesOpened = 0, servicesClosed = 0, pumped = 0;
  static inline std::vector<uint32_t> waits;
  static inline std::vector<Bytes> sent;
  static inline std::vector<int> ttls;
  static inline void (*onPump)() = nullptr;

  static void Reset() {
    now = 1000;
    packets.clear();
    openError = ttlError = sendError = waitError = receiveError = 0;
    serviceOpenError = serviceError = 0;
    serviceAnswer = {};
    opened = closed = servicesOpened = servicesClosed = pumped = 0;
    waits.clear();
    sent.clear();
    ttls.clear();
    onPump = nullptr;
  }
};

constexpr platform::IcmpCalls kPlayedCalls{
    [](platform::SocketHandle& socket) {
      if (Played::openError != 0) return Played::openError;
      socket = static_cast<platform::SocketHandle>(++Played::opened);
      return 0;
    },
    [](platform::SocketHandle, uint8_t ttl) {
      Played::ttls.push_back(ttl);
      return Played::ttlError;
    },
    [](platform::SocketHandle, std::span<const uint8_t> message, platform::Ipv4Address) {
      Played::sent.emplace_back(message.begin(), message.end());
      return Played::sendError;
    },
    [](platform::SocketHandle, uint32_t timeoutMs, bool& readable) {
      Played::waits.push_back(timeoutMs);
      readable = !Played::packets.empty() && Played::packets.front().afterMs < timeoutMs;
      Played::now += readable ? Played::packets.front().afterMs : timeoutMs;
      return Played::waitError;
    },
    [](platform::SocketHandle, std::span<uint8_t> buffer, size_t& received) {
      const Packet packet = Played::packets.front();
      Played::packets.erase(Played::packets.begin());
      received = std::min(packet.datagram.size(), buffer.size());
      std::copy_n(packet.datagram.begin(), received, buffer.begin());
      return packet.error != 0 ? packet.error : Played::receiveError;
    },
    [](platform::SocketHandle) { ++Played::closed; },
    [](platform::SocketHandle& service) {
      if (Played::serviceOpenError != 0) return Played::serviceOpenError;
      service = static_cast<platform::SocketHandle>(++Played::servicesOpened);
      return 0;
    },
    [](platform::SocketHandle, std::span<const uint8_t> request, platform::Ipv4Address, uint8_t ttl,
       uint32_t timeoutMs, platform::EchoAnswer& answer) {
      Played::sent.emplace_back(request.begin(), request.end());
      Played::ttls.push_back(ttl);
      Played::waits.push_back(timeoutMs);
      Played::now += Played::serviceAnswer.answered ? 3 : timeoutMs;
      answer = Played::serviceAnswer;
      return Played::serviceError;
    },
    [](platform::SocketHandle) { ++Played::servicesClosed; },
    [] { return Played::now; },
    [] { return 0x0001BEEFu; },
    [] {
      ++Played::pumped;
      if (Played::onPump != nullptr) Played::onPump();
    },
};

class EchoLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    Played::Reset();
    platform::ReplaceIcmp(&kPlayedCalls);
    MakeComponentSet();
  }
  void TearDown() override {
    FreeComponentSet();
    platform::ReplaceIcmp(nullptr);
    PingReplyText().clear();
  }

  static std::string Ping(std::vector<std::string> params) {
    host::HostProvider context;
    host::HostProvider provider(std::move(params));
    std::string result;
    PingMacro(&context, &provider, result);
    return result;
  }

  // The failure a PING call ends with.
  static Failure PingFailure(std::vector<std::string> params) {
    try {
      Ping(std::move(params));
    } catch (const Failure& failure) {
      return failure;
    }
    return Failure("none", "the call did not fail");
  }

  static const EchoStatus& Status() { return LiveComponent<EchoClient>().status; }
};

TEST_F(EchoLoop, AnUnansweredEchoWaits5000msAndGivesTheTimeOutLine) {
  EXPECT_EQ(Ping({"127.0.0.1", "1"}),
            "0 bytes from 0.0.0.0: ICMP_seq=3489 TTL=0 RoundTrip Time=5000 ms\r\n");
  EXPECT_EQ(Status().outcome, EchoOutcome::kTimeOut);
  EXPECT_EQ(Played::waits, std::vector<uint32_t>{5000});
  EXPECT_EQ(Played::ttls, std::vector<int>{128});
  EXPECT_EQ(Played::opened, 1);
  EXPECT_EQ(Played::closed, 1);
  // The request as built: identifier from the process id, the tick count at
  // preparation.
  ASSERT_EQ(Played::sent.size(), 1u);
  const auto expected = BuildEchoRequest(0xBEEF, kOurs, 1000);
  EXPECT_EQ(Played::sent[0], Bytes(expected.begin(), expected.end()));
}

TEST_F(EchoLoop, PacketsThatDoNotMatchShortenTheWaitButDoNotEndIt) {
  const Bytes from = {127, 0, 0, 1};
  Played::packets = {{1000, Datagram(5, 64, from, Echo(0, 1))},
                     {1500, Datagram(5, 9, from, ErrorQuoting(3, 2, 5))},
                     {500, Datagram(5, 64, from, Echo(0, kOurs))}};
  EXPECT_EQ(Ping({"127.0.0.1", "1"}),
            "72 bytes from 127.0.0.1: ICMP_seq=3489 TTL=64 RoundTrip Time=3000 ms\r\n");
  EXPECT_EQ(Played::waits, (std::vector<uint32_t>{5000, 4000, 2500}));

  Played::waits.clear();
  Played::packets = {{2000, Datagram(5, 64, from, Echo(0, 1))},
                     {2000, Datagram(5, 64, from, Echo(0, 2))}};
  EXPECT_EQ(Ping({"127.0.0.1", "1"}),
            "0 bytes from 0.0.0.0: ICMP_seq=3490 TTL=0 RoundTrip Time=5000 ms\r\n");
  EXPECT_EQ(Played::waits, (std::vector<uint32_t>{5000, 3000, 1000}));
}

TEST_F(EchoLoop, SocketErrorsEndTheCallAndEverySocketIsClosed) {
  const auto expectError = [](const char* what, const char* message) {
    const Failure failure = PingFailure({"127.0.0.1"});
    EXPECT_EQ(failure.kind(), "EIdSocketError") << what;
    EXPECT_EQ(failure.message(), message) << what;
    EXPECT_EQ(Played::closed, Played::opened) << what;
    EXPECT_EQ(LiveComponent<EchoClient>().sequence, kOurs) << what << ": the counter stays";
  };
  // A host that does not resolve fails before any socket is opened.
  platform::SocketCalls sockets = platform::Sockets();
  sockets.resolveName = [](const std::string&, platform::Ipv4Address&) {
    return platform::kWsaHostNotFound;
  };
  platform::ReplaceSockets(&sockets);
  const Failure unresolved = PingFailure({"nowhere.example"});
  platform::ReplaceSockets(nullptr);
  EXPECT_EQ(unresolved.message(), "Socket Error # 11001\r\n");
  Played::openError = 10024;
  expectError("open", "Socket Error # 10024\r\nToo many open files.");
  EXPECT_EQ(Played::opened, 0);
  Played::openError = 0;
  Played::ttlError = 10042;
  expectError("TTL", "Socket Error # 10042\r\nBad protocol option.");
  Played::ttlError = 0;
  Played::sendError = 10065;
  expectError("send", "Socket Error # 10065\r\nNo route to host.");
  Played::sendError = 0;
  Played::waitError = 10038;
  expectError("wait", "Socket Error # 10038\r\nSocket operation on non-socket.");
  Played::waitError = 0;
  Played::receiveError = 10050;
  Played::packets = {{1, Bytes(100, 0x45)}};
  expectError("receive", "Socket Error # 10050\r\nNetwork is down.");
  EXPECT_EQ(Played::opened, 4);
  EXPECT_EQ(PingReplyText(), "") << "no line is left from the failed calls";
}

TEST_F(EchoLoop, ForeignAnswersAreSkippedAndAnotherErrorAboutOursEndsTheCall) {
  const Bytes from = {127, 0, 0, 1};
  Played::packets = {{5, Datagram(5, 128, from, Echo(8, kOurs))},
                     {5, Bytes(27, 0x45)},
                     {5, Datagram(5, 64, {127, 1, 2, 3}, Echo(0, kOurs))},
                     {5, Datagram(5, 64, from, Echo(13, kOurs))},
                     {5, Bytes(9, 0), 10040},
                     {5, Datagram(5, 64, from, Echo(0, kOurs))}};
  EXPECT_EQ(Ping({"127.0.0.1", "1"}),
            "72 bytes from 127.0.0.1: ICMP_seq=3489 TTL=64 RoundTrip Time=30 ms\r\n");
  Played::packets = {{5, Datagram(5, 64, {192, 0, 2, 1}, ErrorQuoting(12, kOurs + 1, 5))}};
  const Failure failure = PingFailure({"127.0.0.1"});
  EXPECT_EQ(failure.kind(), "EIdIcmpException");
  EXPECT_EQ(failure.message(), "Non-echo type response received");
  EXPECT_EQ(Played::closed, 2);
}

TEST_F(EchoLoop, TheMacroCountsEchoesAndKeepsTheCounter) {
  EXPECT_EQ(Ping({"127.0.0.1", "1", "2"}), " *** Error: wrong number of parameters *** ");
  EXPECT_EQ(Ping({"127.0.0.1", "-3"}), "");
  EXPECT_EQ(Played::opened, 0) << "nothing is sent";

  const Bytes from = {127, 0, 0, 1};
  for (uint16_t sequence = kOurs; sequence < kOurs + 4; ++sequence)
    Played::packets.push_back({0, Datagram(5, 128, from, Echo(0, sequence))});
  const std::string lines = Ping({"LOCALHOST"});
  std::string expected;
  for (int sequence = kOurs; sequence < kOurs + 4; ++sequence)
    expected += "72 bytes from 127.0.0.1: ICMP_seq=" + std::to_string(sequence) +
                " TTL=128 RoundTrip Time<1 ms\r\n";
  EXPECT_EQ(lines, expected) << "the same tick reads <1";
  EXPECT_EQ(Played::pumped, 4) << "window messages after every echo";
  EXPECT_EQ(Played::closed, 4) << "a socket for every echo";

  EXPECT_NE(Ping({"127.0.0.1", "1"}).find(": ICMP_seq=3493 "), std::string::npos)
      << "the counter lives on between calls";
  LiveComponent<EchoClient>().sequence = 65535;
  Ping({"127.0.0.1", "2"});
  EXPECT_EQ(LiveComponent<EchoClient>().sequence, 1) << "wraps from 65535 to 0";
  EXPECT_EQ(Played::sent.back()[6], 0);
  EXPECT_EQ(Played::sent.back()[7], 0);
}

TEST_F(EchoLoop, AComponentSetFinalisedAmongTheWindowMessagesEndsTheCall) {
  Played::onPump = [] { FreeComponentSet(); };
  const Failure failure = PingFailure({"127.0.0.1", "3"});
  EXPECT_NE(failure.message().find("WRP_Initialize"), std::string::npos) << failure.message();
  EXPECT_EQ(Played::opened, 1);
  MakeComponentSet();
}

TEST_F(EchoLoop, WithoutPrivilegeTheEchoServiceAnswersInTheSameTerms) {
  Played::openError = platform::kWsaAccessDenied;
  Played::serviceAnswer = {true, 0, 0x7F000001, 64, 52};
  EXPECT_EQ(Ping({"127.0.0.1", "1"}),
            "72 bytes from 127.0.0.1: ICMP_seq=3489 TTL=64 RoundTrip Time=3 ms\r\n");
  EXPECT_EQ(Played::ttls, std::vector<int>{128});
  EXPECT_EQ(Played::waits, std::vector<uint32_t>{5000});
  EXPECT_EQ(Played::servicesOpened, 1);
  EXPECT_EQ(Played::servicesClosed, 1);
  const auto expected = BuildEchoRequest(0xBEEF, kOurs, 1000);
  ASSERT_EQ(Played::sent.size(), 1u);
  EXPECT_EQ(Played::sent[0], Bytes(expected.begin(), expected.end()));

  Played::serviceAnswer = {};
  EXPECT_EQ(Ping({"127.0.0.1", "1"}),
            "0 bytes from 0.0.0.0: ICMP_seq=3490 TTL=0 RoundTrip Time=5000 ms\r\n");

  Played::serviceAnswer = {true, 12, 0xC0000201, 250, 36};
  EXPECT_EQ(PingFailure({"127.0.0.1"}).message(), "Non-echo type response received");
  Played::serviceError = 10051;
  EXPECT_EQ(PingFailure({"127.0.0.1"}).message(),
            "Socket Error # 10051\r\nNetwork is unreachable.");
  EXPECT_EQ(Played::servicesClosed, Played::servicesOpened);

  // Where the service is closed too, the raw socket's refusal stands.
  Played::serviceOpenError = 10044;
  const Failure failure = PingFailure({"127.0.0.1"});
  EXPECT_EQ(failure.kind(), "EIdSocketError");
  EXPECT_EQ(failure.message(), "Socket Error # 10013\r\nAccess denied.");
  EXPECT_EQ(Played::opened, 0) << "no raw socket was ever opened";
}

// The system's own echo service, with the raw socket refused as it is to an
// ordinary user: IcmpSendEcho on Windows, the ICMP datagram socket on Linux.
TEST(EchoService, AnswersOnTheLoopbackAddressWithAWellFormedLine) {
  platform::SocketHandle probe = platform::kNoSocket;
  if (platform::Icmp().serviceOpen(probe) != 0)
    GTEST_SKIP() << "the system's echo service is closed to this user (on Linux: "
                    "net.ipv4.ping_group_range); the namespace test covers it";
  platform::Icmp().serviceClose(probe);
  platform::IcmpCalls refused = platform::Icmp();
  refused.rawOpen = [](platform::SocketHandle&) { return platform::kWsaAccessDenied; };
  platform::ReplaceIcmp(&refused);
  MakeComponentSet();
  host::HostProvider context;
  host::HostProvider params({"127.0.0.1", "2"});
  std::string result;
  EXPECT_NO_THROW(PingMacro(&context, &params, result));
  FreeComponentSet();
  platform::ReplaceIcmp(nullptr);
  const auto lines = testing::ParseReplyLines(result);
  ASSERT_TRUE(lines.has_value()) << result;
  ASSERT_EQ(lines->size(), 2u) << result;
  for (size_t i = 0; i < 2; ++i) {
    const testing::ReplyLine& line = (*lines)[i];
    EXPECT_EQ(line.bytes, 72) << "a 20-byte IP header and the 52-byte reply";
    EXPECT_EQ(line.source, "127.0.0.1");
    EXPECT_EQ(line.sequence, kOurs + static_cast<long>(i));
    EXPECT_GT(line.timeToLive, 0);
    EXPECT_LT(line.roundTripMs, 5000);
  }
}

TEST(PingReplyLine, OneLinePerEcho) {
  EXPECT_EQ(PingReplyLine({84, "127.0.0.1", 0, 3489, 12, 64, EchoOutcome::kEcho}) +
                PingReplyLine({0, "0.0.0.0", 0, 3490, 0, 0, EchoOutcome::kTimeOut}),
            "84 bytes from 127.0.0.1: ICMP_seq=3489 TTL=64 RoundTrip Time=12 ms\r\n"
            "0 bytes from 0.0.0.0: ICMP_seq=3490 TTL=0 RoundTrip Time<1 ms\r\n");
}

}  // namespace
}  // namespace quillet
