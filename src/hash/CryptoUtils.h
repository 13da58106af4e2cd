// Routines the hash families share: hex output, rotations and byte swaps.
#pragma once

#include <bit>
#include <cstdint>
#include <string>

namespace quillet {

// The low 4 * digits bits of value as exactly digits lower-case hex digits.
std::string ValueToHex(uint8_t digits, uint64_t value);

constexpr uint32_t RotL32(uint32_t word, uint32_t count) {
  return std::rotl(word, static_cast<int>(count % 32));
}
constexpr uint32_t RotR32(uint32_t word, uint32_t count) {
  return std::rotr(word, static_cast<int>(count % 32));
}
constexpr uint64_t RotR64(uint64_t word, uint32_t count) {
  return std::rotr(word, static_cast<int>(count % 64));
}
constexpr uint32_t ByteSwap32(uint32_t word) {
  return (word >> 24) | ((word >> 8) & 0x0000FF00u) | ((word << 8) & 0x00FF0000u) | (word << 24);
}
constexpr uint64_t ByteSwap64(uint64_t word) {
  return (static_cast<uint64_t>(ByteSwap32(static_cast<uint32_t>(word))) << 32) |
         ByteSwap32(static_cast<uint32_t>(word >> 32));
}

}  // namespace quillet
