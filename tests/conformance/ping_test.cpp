// PING through the exports: real echoes to the loopback address, the counts
// that send nothing, the sequence numbers across calls and the need for
// WRP_Initialize. A user for whom neither a raw socket nor the system's echo
// service is open gets "Access denied"; the tests say so and skip.
#include <string>
#include <vector>

#include "support/Loaded.h"
#include "support/ReplyLines.h"

namespace quillet::conformance {
namespace {

using testing::ParseReplyLines;
using testing::ReplyLine;

constexpr long kFirstSequence = 3489;

class PingMacro : public WithComponentSet {
 protected:
  // The lines of one PING call; empty, with the test skipped, where this
  // user may not send echoes at all.
  static std::vector<ReplyLine> Lines(std::vector<std::string> params) {
    host::HostProvider context;
    host::HostProvider parameters(std::move(params));
    const MacroRun run = Exec("PING", context, parameters);
    if (run.ended && run.end.message == "Socket Error # 10013\r\nAccess denied.") {
      denied_ = true;
      return {};
    }
    EXPECT_FALSE(run.ended) << run.end.kind << ": " << run.end.message;
    const std::string text = Delivered(context);
    const auto lines = ParseReplyLines(text);
    EXPECT_TRUE(lines.has_value()) << "not in the reply format: " << text;
    return lines.value_or(std::vector<ReplyLine>{});
  }

  static inline bool denied_ = false;
};

#define SKIP_WHERE_DENIED() \
  if (denied_) GTEST_SKIP() << "raw ICMP sockets and the echo service are closed to this user"

TEST_F(PingMacro, OneParameterSendsFourEchoesToLoopback) {
  const std::vector<ReplyLine> lines = Lines({"127.0.0.1"});
  SKIP_WHERE_DENIED();
  ASSERT_EQ(lines.size(), 4u);
  for (size_t i = 0; i < lines.size(); ++i) {
    // A raw socket may take the request itself (72 bytes, TTL 128) for the
    // answer; the echo service sees the reply: 72 bytes either way.
    EXPECT_EQ(lines[i].bytes, 72) << i;
    EXPECT_EQ(lines[i].source, "127.0.0.1") << i;
    EXPECT_EQ(lines[i].sequence, kFirstSequence + static_cast<long>(i));
    EXPECT_GT(lines[i].timeToLive, 0) << i;
    EXPECT_LT(lines[i].roundTripMs, 5000) << i << ": the loopback address answers";
  }
}

TEST_F(PingMacro, ConsecutiveCallsContinueTheSequence) {
  const std::vector<ReplyLine> first = Lines({"LOCALHOST", "1"});
  SKIP_WHERE_DENIED();
  const std::vector<ReplyLine> second = Lines({"127.0.0.1", "2"});
  ASSERT_EQ(first.size(), 1u);
  ASSERT_EQ(second.size(), 2u);
  EXPECT_EQ(first[0].sequence, kFirstSequence);
  EXPECT_EQ(second[0].sequence, kFirstSequence + 1);
  EXPECT_EQ(second[1].sequence, kFirstSequence + 2);
}

TEST_F(PingMacro, CountsThatSendNothing) {
  EXPECT_EQ(Result("PING", {"127.0.0.1", "0"}), "");
  EXPECT_EQ(Result("ping", {"127.0.0.1", "-1"}), "");
  EXPECT_EQ(Result("PING", {}), " *** Error: wrong number of parameters *** ");
  EXPECT_EQ(Result("PING", {"127.0.0.1", "1", "1"}), " *** Error: wrong number of parameters *** ");
  // Nothing was sent, so the next echo still has the first number.
  const std::vector<ReplyLine> lines = Lines({"127.0.0.1", "1"});
  SKIP_WHERE_DENIED();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].sequence, kFirstSequence);
}

TEST(PingOutsideInitialize, EndsTheCallWithAClearMessage) {
  host::HostProvider context;
  host::HostProvider params({"127.0.0.1", "1"});
  const MacroRun run = Exec("PING", context, params);
  EXPECT_TRUE(run.ended);
  EXPECT_NE(run.end.message.find("WRP_Initialize"), std::string::npos) << run.end.message;
  EXPECT_TRUE(context.setTextCalls().empty());
}

}  // namespace
}  // namespace quillet::conformance
