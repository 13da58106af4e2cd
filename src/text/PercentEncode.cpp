// Percent-encoding in one pass: the output is sized once for the worst case
// (three bytes per input byte) and cut once at the end.
#include "text/PercentEncode.h"

#include <new>

namespace quillet {

std::string PercentEncode(std::string_view text, char delimiter, const ByteSet& set) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  // Three times the input must not wrap around (a real case for a 32-bit
  // process): a text that large cannot be encoded in memory at all.
  if (text.size() > std::string().max_size() / 3) throw std::bad_alloc();
  std::string out(text.size() * 3, '\0');
  size_t written = 0;
  for (const char c : text) {
    const auto byte = static_cast<uint8_t>(c);
    if (Contains(set, byte)) {
      out[written++] = delimiter;
      out[written++] = kHexDigits[byte >> 4];
      out[written++] = kHexDigits[byte & 0x0F];
    } else {
      out[written++] = c;
    }
  }
  out.resize(written);
  return out;
}

}  // namespace quillet
