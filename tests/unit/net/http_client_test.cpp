// The HTTP client through PUTURL against scripted loopback servers: canned
// exchanges with the exact request bytes, the failing answers, and a suite of
// servers that misbehave on purpose, each of which must end in one clear
// error with the plug-in usable afterwards. Time-outs are played through the
// socket table, so no test waits for them.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "frame/ComponentSet.h"
#include "frame/Failure.h"
#include "frame/SetMakeUp.h"
#include "host/Provider.h"
#include "net/HttpClient.h"
#include "net/WebMacros.h"
#include "platform/Sockets.h"
#include "support/CalendarFakes.h"
#include "support/CannedExchange.h"

namespace quillet {
namespace {

using testing::CannedServer;
using testing::LoopbackServer;
using testing::Peer;
using testing::Script;
using namespace std::chrono_literals;

struct Outcome {
  std::string kind;
  std::string message;
};

class HttpClient : public testing::CalendarFakes {
 protected:
  void SetUp() override {
    CalendarFakes::SetUp();
    calls_ = platform::Sockets();
    calls_.tickCount = [] { return now; };  // so every wait is as long as its rule says
    waits.clear();
    MakeComponentSet();
  }
  void TearDown() override {
    FreeComponentSet();
    platform::ReplaceSockets(nullptr);
    CalendarFakes::TearDown();
  }

  static std::string PutUrl(const std::string& url) {
    host::HostProvider context;
    host::HostProvider params({url});
    std::string result;
    PutUrlMacro(&context, &params, result);
    return result;
  }

  static Outcome FailureOf(const std::string& url) {
    try {
      PutUrl(url);
    } catch (const Failure& failure) {
      return {failure.kind(), failure.message()};
    }
    return {"no failure", ""};
  }

  // A request to a well-behaved server succeeds after whatever went before.
  static void ExpectUsable() {
    platform::ReplaceSockets(nullptr);
    LoopbackServer good({[](Peer& peer) {
      peer.ReadHead();
      peer.Send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    }});
    EXPECT_EQ(PutUrl(good.Url("/fine")), "ok");
  }

  // Waits of the given length report nothing readable at once.
  static void ShortenWaitsOf(uint32_t milliseconds) {
    shortened = milliseconds;
    calls_.waitReadable = [](platform::SocketHandle socket, uint32_t timeoutMs, bool& readable) {
      waits.push_back(timeoutMs);
      if (timeoutMs == shortened) {
        readable = false;
        return 0;
      }
      return system_.waitReadable(socket, timeoutMs, readable);
    };
    platform::ReplaceSockets(&calls_);
  }

  // Each receive takes one byte after ms, as from a server that trickles.
  static void Trickle(uint32_t ms) {
    step = ms;
    calls_.receive = [](platform::SocketHandle socket, void* buffer, size_t, size_t& received) {
      now += step;
      return system_.receive(socket, buffer, 1, received);
    };
    platform::ReplaceSockets(&calls_);
  }

  static inline std::vector<uint32_t> waits;
  static inline uint32_t shortened = 0, now = 0, step = 0;
  static inline platform::SocketCalls calls_{};
  static inline const platform::SocketCalls system_ = platform::Sockets();
};

TEST_F(HttpClient, AContentLengthBodyArrivesByteForByte) {
  CannedServer server("content_length");
  EXPECT_EQ(PutUrl(server.Url("/dir/page.html?x=1#top")), "caf\xe9\tline\r\n\n");
  EXPECT_EQ(PutUrl("other.html"), "") << "a URL without :// keeps host, port and path";
  EXPECT_EQ(server.received(), server.expected());
  EXPECT_EQ(server.accepted(), 1);
}

TEST_F(HttpClient, TheConnectionIsKeptUntilAResponseSaysClose) {
  CannedServer server("keep_alive");
  EXPECT_EQ(PutUrl(server.Url("/a/b/first.txt")), "first");
  EXPECT_EQ(PutUrl("../c/second.txt"), "second");
  EXPECT_FALSE(LiveComponent<quillet::HttpClient>().connected());
  EXPECT_EQ(PutUrl("third.txt"), "third");
  EXPECT_EQ(server.received(), server.expected());
  EXPECT_EQ(server.accepted(), 2);
}

TEST_F(HttpClient, ChunksWithExtensionsAndTrailersThenABodyUntilClose) {
  CannedServer server("chunked");
  EXPECT_EQ(PutUrl(server.Url("/chunks")), "hello, and a chunk of 26 bytes!0123456789");
  EXPECT_EQ(PutUrl("/until-close"), "all of this until the server closes\r\n");
  EXPECT_EQ(server.received(), server.expected());
  EXPECT_EQ(server.accepted(), 1) << "the trailers kept the connection in step";
  EXPECT_FALSE(LiveComponent<quillet::HttpClient>().connected());
}

TEST_F(HttpClient, InterimAnswersAreSkippedAnd204HasNoBody) {
  CannedServer server("interim");
  EXPECT_EQ(PutUrl(server.Url("/interim")), "done");
  EXPECT_EQ(PutUrl("/empty"), "");
  EXPECT_EQ(PutUrl("/after"), "after");
  EXPECT_EQ(server.received(), server.expected());
  EXPECT_EQ(server.accepted(), 1);
}

TEST_F(HttpClient, CookiesAreKeptChosenAndOrderedAcrossCalls) {
  CannedServer server("cookies");
  EXPECT_EQ(PutUrl(server.Url("/shop/list")), "");
  EXPECT_EQ(PutUrl("/shop/item"), "");
  EXPECT_EQ(PutUrl("/elsewhere"), "");
  EXPECT_EQ(server.received(), server.expected());
  EXPECT_EQ(LiveComponent<quillet::HttpClient>().cookies().size(), 5u)
      << "SESSION, cart, pathless, later and secret; the expired and unreadable ones are gone";
}

TEST_F(HttpClient, ACookieIsSentUntilItsExpiryHasPassed) {
  const std::string answer = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n";
  LoopbackServer server({[&](Peer& peer) {
    peer.ReadHead();
    peer.Send(
        "HTTP/1.1 200 OK\r\nSet-Cookie: hour=1; Path=/; Max-Age=3600\r\n"
        "Set-Cookie: day=1; Path=/; Expires=Wed, 09 Dec 2026 14:30:15 GMT\r\n"
        "Content-Length: 0\r\n\r\n");
    for (int i = 0; i < 3; ++i) {
      peer.ReadHead();
      peer.Send(answer);
    }
  }});
  PutUrl(server.Url("/"));
  PutUrl("/");
  testing::FakeSystem::now.hour = 15;
  testing::FakeSystem::now.minute = 31;
  PutUrl("/");
  testing::FakeSystem::now.day = 10;
  PutUrl("/");
  const std::string received = server.received();
  const size_t second = received.find("GET", 1);
  const size_t third = received.find("GET", second + 1);
  const size_t fourth = received.find("GET", third + 1);
  EXPECT_NE(received.substr(second, third - second).find("Cookie: hour=1; day=1\r\n"),
            std::string::npos);
  EXPECT_NE(received.substr(third, fourth - third).find("Cookie: day=1\r\n"), std::string::npos);
  EXPECT_EQ(received.substr(fourth).find("Cookie:"), std::string::npos);
}

TEST_F(HttpClient, FailingAnswersCarryTheirStatusLine) {
  CannedServer server("failures");
  const char* const statusLines[] = {
      "HTTP/1.1 301 Moved Permanently", "HTTP/1.1 302 Found",        "HTTP/1.1 201 Created",
      "HTTP/1.1 304 Not Modified",      "HTTP/1.1 401 Unauthorized", "HTTP/1.1 404 Not Found",
  };
  bool first = true;
  for (const char* status : statusLines) {
    try {
      PutUrl(first ? server.Url("/x") : "/x");
      ADD_FAILURE() << status;
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.kind(), "EIdHTTPProtocolException");
      EXPECT_EQ(failure.message(), status);
    }
    first = false;
  }
  EXPECT_EQ(PutUrl("/x"), "ok");
  EXPECT_EQ(server.accepted(), 1) << "complete failing answers keep the connection";
}

TEST_F(HttpClient, TheBodyOfAFailingAnswerIsWaitedForTwoSecondsAtATime) {
  LoopbackServer server({[](Peer& peer) {
    peer.ReadHead();
    peer.Send("HTTP/1.1 404 Not Found\r\n\r\npart of a page that never ends");
    peer.AwaitClose();
  }});
  ShortenWaitsOf(2000);
  const Outcome outcome = FailureOf(server.Url("/missing"));
  EXPECT_EQ(outcome.kind, "EIdReadTimeout");
  EXPECT_EQ(outcome.message, "Read Timeout");
  ASSERT_FALSE(waits.empty());
  EXPECT_EQ(waits.front(), 60000u) << "the status line waits a minute at most";
  EXPECT_EQ(waits.back(), 2000u);
  ExpectUsable();
}

TEST_F(HttpClient, HttpsAndBadPortsFailBeforeAnythingIsSent) {
  LoopbackServer server({});
  const std::string port = std::to_string(server.port());
  Outcome outcome = FailureOf("https://127.0.0.1:" + port + "/");
  EXPECT_EQ(outcome.kind, "EIdIOHandlerPropInvalid");
  EXPECT_EQ(outcome.message, "IOHandler value is not valid");
  outcome = FailureOf("HTTP://127.0.0.1:8o/");
  EXPECT_EQ(outcome.kind, "EConvertError");
  EXPECT_EQ(outcome.message, "'8o' is not a valid integer value");
  outcome = FailureOf("gopher://127.0.0.1/");
  EXPECT_EQ(outcome.kind, "EIdUnknownProtocol");
  EXPECT_EQ(outcome.message, "");
  EXPECT_EQ(server.accepted(), 0);
  ExpectUsable();
}

TEST_F(HttpClient, ABodyTooLargeForAResultFailsBeforeItsFirstByte) {
  LoopbackServer server({[](Peer& peer) {
    peer.ReadHead();
    peer.Send("HTTP/1.1 200 OK\r\nContent-Length: 268435457\r\n\r\nstart");
    peer.AwaitClose();
  }});
  const Outcome outcome = FailureOf(server.Url("/huge"));
  EXPECT_EQ(outcome.kind + ": " + outcome.message, "EIdException: Response body too large");
  EXPECT_FALSE(LiveComponent<quillet::HttpClient>().connected());
  ExpectUsable();
}

// One misbehaving server per case: what it sends, and the error that must
// end the call.
struct Hostile {
  const char* name;
  Script script;
  const char* kind;
  const char* message;
};

void Answer(Peer& peer, const std::string& bytes) {
  peer.ReadHead();
  peer.Send(bytes);
  peer.Close();
}

// Sends pieces until count of them are sent or the client has gone.
void Flood(Peer& peer, const std::string& start, const std::string& piece, int count) {
  peer.ReadHead();
  peer.Send(start);
  for (int i = 0; i < count && peer.Send(piece); ++i) {
  }
  peer.Close();
}

TEST_F(HttpClient, MisbehavingServersEndInOneClearError) {
  const std::string longLine(16385, 'x');
  const Hostile cases[] = {
      {"closes during the status line", [](Peer& p) { Answer(p, "HTTP/1.1 200 O"); },
       "EIdConnClosedGracefully", "Connection Closed Gracefully."},
      {"closes before the status line", [](Peer& p) { Answer(p, ""); }, "EIdConnClosedGracefully",
       "Connection Closed Gracefully."},
      {"closes during the headers",
       [](Peer& p) { Answer(p, "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nX-"); }, "EIdException",
       "Undefined situation"},
      {"closes during a chunk",
       [](Peer& p) { Answer(p, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nabc"); },
       "EIdConnClosedGracefully", "Connection Closed Gracefully."},
      {"closes after the headers",
       [](Peer& p) { Answer(p, "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n"); },
       "EIdConnClosedGracefully", "Connection Closed Gracefully."},
      {"sends a short body",
       [](Peer& p) { Answer(p, "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nabc"); },
       "EIdConnClosedGracefully", "Connection Closed Gracefully."},
      {"sends an over-long status line", [&](Peer& p) { Answer(p, longLine + "\r\n\r\n"); },
       "EIdReadLnMaxLineLengthExceeded", "Max line length exceeded."},
      {"sends an over-long header line",
       [&](Peer& p) { Answer(p, "HTTP/1.1 200 OK\r\nX: " + longLine + "\r\n\r\n"); },
       "EIdReadLnMaxLineLengthExceeded", "Max line length exceeded."},
      {"sends headers without end",
       [](Peer& p) {
         Flood(p, "HTTP/1.1 200 OK\r\n", "X-Filler: " + std::string(1000, 'f') + "\r\n", 4000);
       },
       "EIdException", "Response headers too large"},
      {"sends interim answers without end",
       [](Peer& p) { Flood(p, "", "HTTP/1.1 100 Continue\r\n\r\n", 100000); }, "EIdException",
       "Response headers too large"},
      {"sends trailers without end",
       [](Peer& p) {
         Flood(p, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\na\r\n0\r\n",
               "T: " + std::string(1000, 't') + "\r\n", 4000);
       },
       "EIdException", "Response headers too large"},
      {"sends a chunk size that is no number",
       [](Peer& p) { Answer(p, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n"); },
       "EIdException", "Invalid chunk size"},
      {"sends a chunk size of 17 digits",
       [](Peer& p) {
         Answer(p, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n00000000000000001\r\n");
       },
       "EIdException", "Invalid chunk size"},
      {"sends more chunk data than its size",
       [](Peer& p) {
         Answer(p, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\nab\r\n0\r\n\r\n");
       },
       "EIdException", "Invalid chunk size"},
      {"sends an empty chunk size",
       [](Peer& p) { Answer(p, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n;x\r\n"); },
       "EIdException", "Invalid chunk size"},
  };
  for (const Hostile& c : cases) {
    SCOPED_TRACE(c.name);
    // The clock stands still, so that a flood ends by its size limit however
    // slowly a loaded machine reads it, never by the minute's deadline.
    platform::ReplaceSockets(&calls_);
    {
      LoopbackServer server({c.script});
      const Outcome outcome = FailureOf(server.Url("/"));
      EXPECT_EQ(outcome.kind, c.kind);
      EXPECT_EQ(outcome.message, c.message);
      EXPECT_EQ(server.accepted(), 1) << "a fresh connection is never retried";
      EXPECT_FALSE(LiveComponent<quillet::HttpClient>().connected());
    }
    ExpectUsable();
  }
}

TEST_F(HttpClient, AKeptConnectionTheServerDroppedIsOpenedAgainOnce) {
  const std::string answer = "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\n";
  for (const bool reset : {false, true}) {
    SCOPED_TRACE(reset ? "reset" : "closed");
    LoopbackServer server({[&](Peer& peer) {
                             peer.ReadHead();
                             peer.Send(answer + "kept");
                             // The server idles the connection out.
                             if (reset) peer.Reset();
                             if (!reset) peer.Close();
                           },
                           [&](Peer& peer) {
                             peer.ReadHead();
                             peer.Send(answer + "anew");
                           }});
    EXPECT_EQ(PutUrl(server.Url("/first")), "kept");
    EXPECT_TRUE(LiveComponent<quillet::HttpClient>().connected());
    EXPECT_EQ(PutUrl("/second"), "anew");
    EXPECT_EQ(server.accepted(), 2);
    EXPECT_EQ(server.received().find("GET /second"), server.received().rfind("GET /second"))
        << "the new connection carries the request once";
  }
}

TEST_F(HttpClient, NoWaitLastsForever) {
  LoopbackServer silent({[](Peer& peer) {
    peer.ReadHead();
    peer.AwaitClose();
  }});
  ShortenWaitsOf(60000);
  Outcome outcome = FailureOf(silent.Url("/"));
  EXPECT_EQ(outcome.kind, "EIdReadTimeout");
  EXPECT_EQ(outcome.message, "Read Timeout");

  static uint32_t connectWait = 0;
  calls_.tcpConnect = [](platform::SocketHandle, platform::Ipv4Address, uint16_t, uint32_t ms) {
    connectWait = ms;
    return platform::kWsaTimedOut;
  };
  platform::ReplaceSockets(&calls_);
  outcome = FailureOf("http://127.0.0.1:9/");
  EXPECT_EQ(outcome.kind, "EIdSocketError");
  EXPECT_EQ(outcome.message, "Socket Error # 10060\r\nConnection timed out.");
  EXPECT_EQ(connectWait, 60000u);
  ExpectUsable();
}

TEST_F(HttpClient, BytesLeftOnAKeptConnectionNeverBecomeTheNextAnswer) {
  const std::string answer = "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n";
  std::atomic<bool> pushed = false;
  LoopbackServer server({[&](Peer& peer) {
                           peer.ReadHead();
                           peer.Send(answer + "one");
                           peer.AwaitData(std::chrono::milliseconds(100));
                           pushed = peer.Send(answer + "old");
                         },
                         [&](Peer& peer) { Answer(peer, answer + "two"); }});
  EXPECT_EQ(PutUrl(server.Url("/one")), "one");
  for (int i = 0; i < 500 && !pushed; ++i) std::this_thread::sleep_for(10ms);
  EXPECT_EQ(PutUrl("/two"), "two");
  EXPECT_EQ(server.accepted(), 2);
}

TEST_F(HttpClient, TrickledAnswersEndWithinTheirDeadlines) {
  // A minute from the request for the whole head, 2 s for a failing answer's
  // body, 1 KiB in every minute for a success body.
  const std::string body =
      "HTTP/1.1 200 OK\r\nContent-Length: 3000\r\n\r\n" + std::string(3000, 'b');
  const std::pair<std::string, uint32_t> cases[] = {
      {"HTTP/1.1 200 OK\r\nContent-Length: 0\r\nX: " + std::string(99, 's') + "\r\n\r\n", 3000},
      {"HTTP/1.1 500 E\r\nContent-Length: 9\r\n\r\nslow body", 1500},
      {body, 100},
      {body, 50}};
  for (const auto& [answer, ms] : cases) {
    LoopbackServer server({[&](Peer& peer) {
      peer.ReadHead();
      peer.Send(answer);
    }});
    Trickle(ms);
    const Outcome outcome = FailureOf(server.Url("/slow"));
    EXPECT_EQ(outcome.kind, ms == 50 ? "no failure" : "EIdReadTimeout") << ms;
  }
}

TEST_F(HttpClient, ASendThatTheServerTakesNothingOfFailsAsATimeOut) {
  LoopbackServer deaf({[](Peer&) {}});
  // The minute of the rule is played as 200 ms; any other wait fails the test.
  calls_.send = [](platform::SocketHandle socket, const void* data, size_t size, uint32_t ms) {
    return ms == 60000 ? system_.send(socket, data, size, 200) : -1;
  };
  platform::ReplaceSockets(&calls_);
  const Outcome outcome = FailureOf(deaf.Url("/" + std::string(16 << 20, 'u')));
  EXPECT_EQ(outcome.message, "Socket Error # 10060\r\nConnection timed out.");
  ExpectUsable();
}

}  // namespace
}  // namespace quillet
