// Hex output of the hash families.
#include "hash/CryptoUtils.h"

namespace quillet {

std::string ValueToHex(uint8_t digits, uint64_t value) {
  std::string text;
  AppendValueHex(text, digits, value);
  return text;
}

void AppendValueHex(std::string& text, uint8_t digits, uint64_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  const size_t at = text.size();
  text.resize(at + digits);
  for (size_t i = at + digits; i > at; --i) {
    text[i - 1] = kDigits[value & 0xF];
    value >>= 4;
  }
}

}  // namespace quillet
