// Response parsing.
#include "net/HttpResponse.h"

#include <algorithm>

#include "base/Ascii.h"
#include "frame/Failure.h"
#include "net/Scan.h"

namespace quillet {
namespace {

// The longest status, header or chunk-size line, without its line end.
constexpr size_t kMaxLineLength = 16384;

// One response's status and header lines, interim answers and trailer lines
// included, may take this many bytes: a server that sends header lines or
// interim answers without end must not grow memory or hold the host forever.
constexpr size_t kMaxHeadBytes = size_t{1} << 20;

// The interim answer that the client skips.
constexpr int32_t kContinue = 100;

void CountHead(ResponseHead& head, size_t bytes) {
  head.headBytes += bytes;
  if (head.headBytes > kMaxHeadBytes) Raise(kEIdException, "Response headers too large");
}

bool IsContinuation(std::string_view line) {
  return !line.empty() && (line.front() == ' ' || line.front() == '\t');
}

// Each header line with its continuation lines, as name and trimmed value.
template <typename Each>
void WalkHeaders(std::string_view headers, Each&& each) {
  std::string_view rest = headers;
  while (!rest.empty()) {
    const std::string_view line = CutAt(rest, '\n');
    if (IsContinuation(line)) continue;
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string_view name = line.substr(0, colon);
    // The value is assembled only for the names the caller asks about.
    auto value = [line, colon, rest]() mutable {
      std::string text(Trim(line.substr(colon + 1)));
      while (!rest.empty()) {
        std::string_view after = rest;
        const std::string_view next = CutAt(after, '\n');
        if (!IsContinuation(next)) break;
        text += ' ';
        text.append(Trim(next));
        rest = after;
      }
      return text;
    };
    if (!each(name, value)) return;
  }
}

std::optional<uint64_t> DecimalNumber(std::string_view text) {
  if (text.size() > kMaxDecimalDigits) return std::nullopt;
  return ReadDigits(text, kUncapped);
}

// Copies up to count bytes to sink; the bytes copied.
uint64_t Transfer(ByteSource& source, BodySink& sink, uint64_t count) {
  const std::string_view piece = source.Peek();
  const size_t take = static_cast<size_t>(std::min<uint64_t>(piece.size(), count));
  sink.Write(piece.substr(0, take));
  source.Consume(take);
  return take;
}

// Exactly count bytes, or the peer's close raises.
void ReadExactly(ByteSource& source, BodySink& sink, uint64_t count) {
  while (count > 0) {
    const uint64_t moved = Transfer(source, sink, count);
    if (moved == 0) RaiseConnectionClosed();
    count -= moved;
  }
}

bool ReadChunks(ByteSource& source, ResponseHead& head, BodySink& sink, uint64_t limit) {
  std::string line;
  uint64_t total = 0;
  for (;;) {
    if (!ReadLine(source, line)) RaiseConnectionClosed();
    const std::optional<uint64_t> size = ChunkSize(line);
    if (!size) Raise(kEIdException, "Invalid chunk size");
    if (*size == 0) break;
    if (*size > limit - total) return false;
    ReadExactly(source, sink, *size);
    total += *size;
    // The line end that closes the chunk's data; anything before it means
    // the size and the data disagree, and the stream is out of step.
    if (!ReadLine(source, line)) RaiseConnectionClosed();
    if (!line.empty()) Raise(kEIdException, "Invalid chunk size");
  }
  // Trailer lines up to the empty one, so that a kept connection stays in
  // step; the body is complete, so a close among them ends it quietly.
  for (;;) {
    size_t counted = 0;
    const bool read = ReadLine(source, line, &counted);
    CountHead(head, counted);
    if (!read || line.empty()) return true;
  }
}

}  // namespace

void RaiseConnectionClosed() {
  Raise(kEIdConnClosedGracefully, "Connection Closed Gracefully.");
}

bool ReadLine(ByteSource& source, std::string& line, size_t* counted) {
  line.clear();
  for (;;) {
    const std::string_view piece = source.Peek();
    if (piece.empty()) return false;
    const size_t end = piece.find('\n');
    const size_t take = end == std::string_view::npos ? piece.size() : end;
    // A CR that may still precede the LF is allowed beyond the limit.
    if (line.size() + take > kMaxLineLength + 1)
      Raise(kEIdReadLnMaxLineLengthExceeded, "Max line length exceeded.");
    line.append(piece.substr(0, take));
    const size_t consumed = end == std::string_view::npos ? take : take + 1;
    source.Consume(consumed);
    if (counted != nullptr) *counted += consumed;
    if (end == std::string_view::npos) continue;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kMaxLineLength)
      Raise(kEIdReadLnMaxLineLengthExceeded, "Max line length exceeded.");
    return true;
  }
}

int32_t StatusCode(std::string_view statusLine) {
  const size_t blank = statusLine.find(' ');
  if (blank == std::string_view::npos) return -1;
  std::string_view rest = Trim(statusLine.substr(blank + 1));
  rest = rest.substr(0, rest.find(' '));
  if (rest.size() > kMaxStatusDigits) return -1;
  const std::optional<uint64_t> code = DecimalNumber(rest);
  return code ? static_cast<int32_t>(*code) : -1;
}

ResponseHead ReadResponseHead(ByteSource& source,
                              const std::function<void(const ResponseHead&)>& eachHead) {
  ResponseHead head;
  std::string line;
  do {
    const size_t before = head.headBytes;
    head = ResponseHead{};
    head.headBytes = before;
    size_t counted = 0;
    const bool read = ReadLine(source, head.statusLine, &counted);
    CountHead(head, counted);
    if (!read) RaiseConnectionClosed();
    for (;;) {
      counted = 0;
      const bool more = ReadLine(source, line, &counted);
      CountHead(head, counted);
      if (!more) break;
      if (line.empty()) {
        head.complete = true;
        break;
      }
      head.headers += line;
      head.headers += '\n';
    }
    head.code = StatusCode(head.statusLine);
    eachHead(head);
  } while (head.code == kContinue && head.complete);
  return head;
}

std::optional<std::string> FindHeader(std::string_view headers, std::string_view name) {
  std::optional<std::string> found;
  WalkHeaders(headers, [&](std::string_view lineName, auto& value) {
    if (!EqualsIgnoringAsciiCase(lineName, name)) return true;
    found = value();
    return false;
  });
  return found;
}

void ForEachHeader(std::string_view headers, std::string_view name,
                   const std::function<void(const std::string& value)>& each) {
  WalkHeaders(headers, [&](std::string_view lineName, auto& value) {
    if (EqualsIgnoringAsciiCase(lineName, name)) each(value());
    return true;
  });
}

std::optional<uint64_t> ContentLength(std::string_view headers) {
  const std::optional<std::string> value = FindHeader(headers, "Content-Length");
  if (!value) return std::nullopt;
  return DecimalNumber(Trim(*value));
}

std::optional<uint64_t> ChunkSize(std::string_view line) {
  const std::string_view digits = line.substr(0, line.find_first_of("; \t"));
  if (digits.size() > kMaxChunkDigits) return std::nullopt;
  return ReadDigits(digits, kUncapped, 16);
}

bool ReadBody(ByteSource& source, ResponseHead& head, BodySink& sink, uint64_t limit) {
  const std::optional<uint64_t> length = ContentLength(head.headers);
  if (length && *length > 0) {
    if (*length > limit) return false;
    sink.Expect(*length);
    ReadExactly(source, sink, *length);
    return true;
  }
  const std::optional<std::string> coding = FindHeader(head.headers, "Transfer-Encoding");
  if (coding && coding->find("chunked") != std::string::npos)
    return ReadChunks(source, head, sink, limit);
  if (length) return true;
  uint64_t total = 0;
  while (total < limit) {
    const uint64_t moved = Transfer(source, sink, limit - total);
    if (moved == 0) return true;
    total += moved;
  }
  return false;
}

}  // namespace quillet
