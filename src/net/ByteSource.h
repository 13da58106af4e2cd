// What the response parsers read from, in a header of its own so that the
// pure parsers need not know the connection: a connection, or bytes in
// memory for the fuzz targets.
#pragma once

#include <cstddef>
#include <string_view>

namespace quillet {

class ByteSource {
 public:
  // The buffered bytes, after waiting for more when none are buffered;
  // empty when the peer has closed. Raises on a failed or timed-out wait.
  virtual std::string_view Peek() = 0;
  // Drops count bytes of those Peek gave.
  virtual void Consume(size_t count) = 0;

 protected:
  ~ByteSource() = default;
};

}  // namespace quillet
