// Routines the hash families share: hex output, rotations, byte swaps, word
// loads in either byte order and the block buffering of the updates.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace quillet {

// The low 4 * digits bits of value as exactly digits lower-case hex digits.
std::string ValueToHex(uint8_t digits, uint64_t value);
// The same digits appended to text, without a temporary string (results of
// sixteen digits would each need an allocation).
void AppendValueHex(std::string& text, uint8_t digits, uint64_t value);

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

// Word loads from unaligned bytes; memcpy keeps them free of aliasing trouble
// and compiles to a single move (plus a swap where the order differs).
inline uint32_t LoadLE32(const uint8_t* bytes) {
  uint32_t word;
  std::memcpy(&word, bytes, sizeof word);
  return std::endian::native == std::endian::little ? word : ByteSwap32(word);
}
inline uint32_t LoadBE32(const uint8_t* bytes) {
  uint32_t word;
  std::memcpy(&word, bytes, sizeof word);
  return std::endian::native == std::endian::big ? word : ByteSwap32(word);
}
inline uint64_t LoadLE64(const uint8_t* bytes) {
  uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return std::endian::native == std::endian::little ? word : ByteSwap64(word);
}
inline uint64_t LoadBE64(const uint8_t* bytes) {
  uint64_t word;
  std::memcpy(&word, bytes, sizeof word);
  return std::endian::native == std::endian::big ? word : ByteSwap64(word);
}

// Feeds length bytes into a family whose transform works on whole blocks of
// Block bytes: tops up the partial block in buffer, hands every further whole
// block to transform straight from data (transform(blocks, count)) and keeps
// the tail. fill is the number of bytes held in buffer.
template <size_t Block, class Transform>
void FeedBlocks(uint8_t (&buffer)[Block], size_t& fill, const uint8_t* data, size_t length,
                Transform&& transform) {
  if (length == 0) return;
  if (fill > 0) {
    const size_t take = length < Block - fill ? length : Block - fill;
    std::memcpy(buffer + fill, data, take);
    fill += take;
    data += take;
    length -= take;
    if (fill < Block) return;
    transform(buffer, size_t{1});
    fill = 0;
  }
  if (const size_t whole = length / Block; whole > 0) {
    transform(data, whole);
    data += whole * Block;
    length -= whole * Block;
  }
  if (length > 0) {
    std::memcpy(buffer, data, length);
    fill = length;
  }
}

}  // namespace quillet
