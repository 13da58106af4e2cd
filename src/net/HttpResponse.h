// Reading an HTTP response: status and header lines, the header block with
// its look-up, and the body by its rules (a length, chunks, or until the
// peer closes). Pure functions over a ByteSource, so that they can be fed
// from memory as well as from a connection.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "net/ByteSource.h"

namespace quillet {

inline constexpr const char* kEIdException = "EIdException";
inline constexpr const char* kEIdConnClosedGracefully = "EIdConnClosedGracefully";
inline constexpr const char* kEIdReadLnMaxLineLengthExceeded = "EIdReadLnMaxLineLengthExceeded";

// Raises "Connection Closed Gracefully.", for a peer that closed where the
// response had to go on.
[[noreturn]] void RaiseConnectionClosed();

// Reads one line: the bytes up to LF, without the LF and a CR right before
// it. False when the peer closed before the LF (a partial line is dropped).
// Raises "Max line length exceeded." past the line limit. counted, when not
// null, grows by the bytes taken from source.
bool ReadLine(ByteSource& source, std::string& line, size_t* counted = nullptr);

// The status line's code: the text after the first word, trimmed, up to the
// next blank, as a decimal number; -1 when it is none.
int32_t StatusCode(std::string_view statusLine);

struct ResponseHead {
  std::string statusLine;
  int32_t code = -1;
  // The header lines as received, each followed by "\n".
  std::string headers;
  // True when the empty line ended the block, false when the peer's close
  // did (the lines read until then stand).
  bool complete = false;
  // Bytes of this response's head so far, interim answers included.
  size_t headBytes = 0;
};

// Reads a status line and its headers, again while the code is 100; eachHead
// sees every head read, the interim ones included. Raises
// "Connection Closed Gracefully." when the peer closes before a status line,
// and "Response headers too large" past the bound of one response's head.
ResponseHead ReadResponseHead(ByteSource& source,
                              const std::function<void(const ResponseHead&)>& eachHead);

// The value of the first header line of that name (ASCII case ignored),
// trimmed and joined with its continuation lines; nullopt without one.
std::optional<std::string> FindHeader(std::string_view headers, std::string_view name);

// Calls each with the value of every header line of that name, in order.
void ForEachHeader(std::string_view headers, std::string_view name,
                   const std::function<void(const std::string& value)>& each);

// Content-Length as a number; nullopt when absent or not a decimal number.
std::optional<uint64_t> ContentLength(std::string_view headers);

// The size of a chunk-size line: the hexadecimal number before its first
// ";", blank or tab, with 1 to 16 digits; nullopt for anything else.
std::optional<uint64_t> ChunkSize(std::string_view line);

// Where a body goes.
class BodySink {
 public:
  // The body announces its length before any byte arrives.
  virtual void Expect(uint64_t length) = 0;
  virtual void Write(std::string_view bytes) = 0;

 protected:
  ~BodySink() = default;
};

// Reads the body of the response with head into sink: exactly Content-Length
// bytes when it is above 0, else the chunks when Transfer-Encoding names
// "chunked" (the trailer lines read to their end), else everything until the
// peer closes without a valid Content-Length. A peer that closes inside a
// body with a length or inside a chunk raises "Connection Closed
// Gracefully."; a bad chunk-size line, or a chunk's data not followed by
// an empty line, raises "Invalid chunk size". Stops
// after limit bytes and answers false then; true when the body was read to
// its end.
bool ReadBody(ByteSource& source, ResponseHead& head, BodySink& sink, uint64_t limit = UINT64_MAX);

}  // namespace quillet
