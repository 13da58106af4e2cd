// Percent-encoding of text over a set of byte values, and the set that URLs
// need.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

// 256 bits, one per byte value: bit b mod 8 of byte b div 8 stands for b.
using ByteSet = std::array<uint8_t, 32>;

// The bytes that cannot stand for themselves in a URL: the control
// characters, blank, " % < > [ \ ] ^ _ ` { | } ~, delete and every byte with
// the high bit set (176 values).
inline constexpr ByteSet UrlEscapeSet = {
    0xFF, 0xFF, 0xFF, 0xFF,                          // 0x00-0x1F
    0x25, 0x00, 0x00, 0x50,                          // blank " %, < >
    0x00, 0x00, 0x00, 0xF8,                          // [ \ ] ^ _
    0x01, 0x00, 0x00, 0xF8,                          // `, { | } ~ delete
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0x80-0xBF
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // 0xC0-0xFF
};

inline bool Contains(const ByteSet& set, uint8_t byte) {
  return ((set[byte / 8] >> (byte % 8)) & 1u) != 0;
}

// text with every byte of set written as delimiter and two upper-case
// hexadecimal digits; nothing is decoded, so a delimiter already in text is
// encoded again when set holds it.
std::string PercentEncode(std::string_view text, char delimiter, const ByteSet& set);

}  // namespace quillet
