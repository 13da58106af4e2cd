// Hex output of the hash families.
#include "hash/CryptoUtils.h"

namespace quillet {

std::string ValueToHex(uint8_t digits, uint64_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(digits, '0');
  for (size_t i = digits; i > 0; --i) {
    text[i - 1] = kDigits[value & 0xF];
    value >>= 4;
  }
  return text;
}

}  // namespace quillet
