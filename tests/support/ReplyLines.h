// PING's reply lines read back into their values, for tests on both builds.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::testing {

struct ReplyLine {
  long bytes;
  std::string source;
  long sequence;
  long timeToLive;
  // 0 for a line that reads "<1".
  long roundTripMs;
};

// Every line of text, each ending in CR LF and written exactly as
// "%d bytes from %s: ICMP_seq=%d TTL=%d RoundTrip Time%s%d ms" with "=" and
// the time, or "<1" and no number; nothing when any line is not.
std::optional<std::vector<ReplyLine>> ParseReplyLines(std::string_view text);

}  // namespace quillet::testing
