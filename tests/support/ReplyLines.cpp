// Reads reply lines leniently, then writes them again from the values read:
// a line counts only when the two agree byte for byte.
#include "support/ReplyLines.h"

#include <cstdio>

namespace quillet::testing {
namespace {

std::string Written(const ReplyLine& line) {
  return std::to_string(line.bytes) + " bytes from " + line.source +
         ": ICMP_seq=" + std::to_string(line.sequence) + " TTL=" + std::to_string(line.timeToLive) +
         " RoundTrip Time" +
         (line.roundTripMs == 0 ? "<1" : "=" + std::to_string(line.roundTripMs)) + " ms\r\n";
}

std::optional<ReplyLine> Read(const std::string& text) {
  ReplyLine line{};
  char source[16] = {};
  char separator[2] = {};
  int used = 0;
  if (std::sscanf(text.c_str(),
                  "%ld bytes from %15[0-9.]: ICMP_seq=%ld TTL=%ld RoundTrip Time%1[=<]%n",
                  &line.bytes, source, &line.sequence, &line.timeToLive, separator, &used) != 5)
    return std::nullopt;
  line.source = source;
  if (separator[0] == '=' && std::sscanf(text.c_str() + used, "%ld", &line.roundTripMs) != 1)
    return std::nullopt;
  if (Written(line) != text) return std::nullopt;
  return line;
}

}  // namespace

std::optional<std::vector<ReplyLine>> ParseReplyLines(std::string_view text) {
  std::vector<ReplyLine> lines;
  while (!text.empty()) {
    const size_t end = text.find("\r\n");
    if (end == std::string_view::npos) return std::nullopt;
    const std::optional<ReplyLine> line = Read(std::string(text.substr(0, end + 2)));
    if (!line) return std::nullopt;
    lines.push_back(*line);
    text.remove_prefix(end + 2);
  }
  return lines;
}

}  // namespace quillet::testing
