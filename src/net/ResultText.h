// The body of a PUTURL answer as it becomes the macro's result: a text that
// grows as bytes arrive, never reserved far ahead of them, and bounded in
// size, because the host copies the result once more in its own heap.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "net/HttpResponse.h"

namespace quillet {

// The largest PUTURL result: larger bodies fail with "Response body too
// large" before any of it is delivered.
inline constexpr uint64_t kResultTextLimit = uint64_t{256} << 20;

// The most reserved ahead on a Content-Length alone: a server may announce
// gigabytes and send a few bytes.
inline constexpr uint64_t kResultReserveAhead = uint64_t{16} << 20;

class ResultText final : public BodySink {
 public:
  // Collects into text, which holds at most limit bytes.
  explicit ResultText(std::string& text, uint64_t limit = kResultTextLimit)
      : text_(text), limit_(limit) {}
  void Expect(uint64_t length) override;
  void Write(std::string_view bytes) override;

 private:
  // Raises when more bytes would pass the limit.
  void Fit(uint64_t more) const;

  std::string& text_;
  uint64_t limit_;
  // The length the body announced, with what the text held before; none
  // (the largest size) for a body of unknown length.
  size_t announced_ = SIZE_MAX;
};

}  // namespace quillet
