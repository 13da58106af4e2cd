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
  text_.reserve(text_.size() + static_cast<size_t>(std::min(length, kResultReserveAhead)));
}

void ResultText::Write(std::string_view bytes) {
  Fit(bytes.size());
  // A body of unknown length grows the text to powers of two: the copy at
  // each step touches only the filled half, and a body of such a size fits
  // without a last, larger step.
  const size_t needed = text_.size() + bytes.size();
  if (needed > text_.capacity()) text_.reserve(std::bit_ceil(needed));
  text_.append(bytes);
}

}  // namespace quillet
