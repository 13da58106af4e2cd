// The digit rule and the cut shared by the network module's parsers.
#include "net/Scan.h"

namespace quillet {
namespace {

// The digit's value in base, or -1 when c is no digit of it.
int DigitValue(char c, int base) {
  int value = base;
  if (c >= '0' && c <= '9') value = c - '0';
  if (base == 16 && c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (base == 16 && c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

}  // namespace

std::optional<uint64_t> ReadDigits(std::string_view text, uint64_t cap, int base) {
  if (text.empty()) return std::nullopt;
  const auto radix = static_cast<uint64_t>(base);
  uint64_t value = 0;
  for (const char c : text) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return std::nullopt;
    const auto add = static_cast<uint64_t>(digit);
    // value * radix + add stays within cap exactly when this holds.
    value = add <= cap && value <= (cap - add) / radix ? value * radix + add : cap;
  }
  return value;
}

std::optional<int64_t> ReadSignedDecimal(std::string_view text, int64_t cap) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const std::optional<uint64_t> magnitude = ReadDigits(text, static_cast<uint64_t>(cap));
  if (!magnitude) return std::nullopt;
  const auto value = static_cast<int64_t>(*magnitude);
  return negative ? -value : value;
}

std::string_view CutAt(std::string_view& rest, char separator) {
  const size_t at = rest.find(separator);
  const std::string_view piece = rest.substr(0, at);
  rest = at == std::string_view::npos ? std::string_view{} : rest.substr(at + 1);
  return piece;
}

}  // namespace quillet
