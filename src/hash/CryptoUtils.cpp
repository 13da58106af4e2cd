// Hex output of the hash families.
#include "hash/CryptoUtils.h"

#include <array>

namespace quillet {
namespace {

// Two digits per byte value, so that a word takes half as many steps.
constexpr auto kDigitPairs = [] {
  constexpr char kDigits[] = "0123456789abcdef";
  std::array<char, 512> pairs{};
  for (size_t byte = 0; byte < 256; ++byte) {
    pairs[2 * byte] = kDigits[byte >> 4];
    pairs[2 * byte + 1] = kDigits[byte & 0xF];
  }
  return pairs;
}();

// Digits beyond the sixteen of a 64-bit value are all zero.
constexpr size_t kValueDigits = 16;

}  // namespace

std::string ValueToHex(uint8_t digits, uint64_t value) {
  std::string text;
  AppendValueHex(text, digits, value);
  return text;
}

// The digits are made in a buffer of their own and appended at once: one
// append costs less than growing the text and writing it digit by digit.
void AppendValueHex(std::string& text, uint8_t digits, uint64_t value) {
  if (digits > kValueDigits) {
    text.append(digits - kValueDigits, '0');
    digits = kValueDigits;
  }
  char buffer[kValueDigits];
  size_t at = kValueDigits;
  for (; at >= kValueDigits - digits + 2; at -= 2, value >>= 8) {
    const size_t byte = value & 0xFF;
    buffer[at - 2] = kDigitPairs[2 * byte];
    buffer[at - 1] = kDigitPairs[2 * byte + 1];
  }
  if (at > kValueDigits - digits) buffer[--at] = kDigitPairs[2 * (value & 0xF) + 1];
  text.append(buffer + at, digits);
}

}  // namespace quillet
