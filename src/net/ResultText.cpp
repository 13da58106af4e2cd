// Collecting the PUTURL result.
#include "net/ResultText.h"

#include <algorithm>
#include <bit>

#include "frame/Failure.h"

namespace quillet {

void ResultText::Fit(uint64_t more) const {
  if (more > limit_ - std::min<uint64_t>(limit_, text_.size()))
    Raise(kEIdException, "Response body too large");
}

void ResultText::Expect(uint64_t length) {
  Fit(length);
  announced_ = text_.size() + static_cast<size_t>(length);
  text_.reserve(text_.size() + static_cast<size_t>(std::min(length, kResultReserveAhead)));
}

void ResultText::Write(std::string_view bytes) {
  Fit(bytes.size());
  // The text grows to powers of two: the copy at each step touches only the
  // filled half, and a body of such a size fits without a last, larger
  // step. A body that announced its length grows no further than that.
  const size_t needed = text_.size() + bytes.size();
  if (needed > text_.capacity())
    text_.reserve(std::max(needed, std::min(std::bit_ceil(needed), announced_)));
  text_.append(bytes);
}

}  // namespace quillet
