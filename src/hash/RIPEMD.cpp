// RIPEMD-128 and RIPEMD-160. The two parallel lines are unrolled at compile
// time from the word-selection and rotation tables of the standard, so every
// step works on constants and registers; whole blocks come straight from the
// input.
#include "hash/RIPEMD.h"

#include <cstring>
#include <utility>

#include "hash/CryptoUtils.h"

namespace quillet {
namespace {

constexpr uint8_t kLeftWord[80] = {0, 1,  2,  3,  4,  5,  6,  7,  8,  9, 10, 11, 12, 13, 14, 15,
                                   7, 4,  13, 1,  10, 6,  15, 3,  12, 0, 9,  5,  2,  14, 11, 8,
                                   3, 10, 14, 4,  9,  15, 8,  1,  2,  7, 0,  6,  13, 11, 5,  12,
                                   1, 9,  11, 10, 0,  8,  12, 4,  13, 3, 7,  15, 14, 5,  6,  2,
                                   4, 0,  5,  9,  7,  12, 2,  10, 14, 1, 3,  8,  11, 6,  15, 13};
constexpr uint8_t kRightWord[80] = {5,  14, 7,  0, 9, 2,  11, 4,  13, 6,  15, 8,  1,  10, 3,  12,
                                    6,  11, 3,  7, 0, 13, 5,  10, 14, 15, 8,  12, 4,  9,  1,  2,
                                    15, 5,  1,  3, 7, 14, 6,  9,  11, 8,  12, 2,  10, 0,  4,  13,
                                    8,  6,  4,  1, 3, 11, 15, 0,  5,  12, 2,  13, 9,  7,  10, 14,
                                    12, 15, 10, 4, 1, 5,  8,  7,  6,  2,  13, 14, 0,  3,  9,  11};
constexpr uint8_t kLeftShift[80] = {11, 14, 15, 12, 5,  8,  7,  9,  11, 13, 14, 15, 6,  7,  9,  8,
                                    7,  6,  8,  13, 11, 9,  7,  15, 7,  12, 15, 9,  11, 7,  13, 12,
                                    11, 13, 6,  7,  14, 9,  13, 15, 14, 8,  13, 6,  5,  12, 7,  5,
                                    11, 12, 14, 15, 14, 15, 9,  8,  9,  14, 5,  6,  8,  6,  5,  12,
                                    9,  15, 5,  11, 6,  8,  13, 12, 5,  12, 13, 14, 11, 8,  5,  6};
constexpr uint8_t kRightShift[80] = {
    8,  9,  9,  11, 13, 15, 15, 5, 7,  7,  8,  11, 14, 14, 12, 6,  9,  13, 15, 7,
    12, 8,  9,  11, 7,  7,  12, 7, 6,  15, 13, 11, 9,  7,  15, 11, 8,  6,  6,  14,
    12, 13, 5,  14, 13, 13, 7,  5, 15, 5,  8,  11, 14, 14, 6,  14, 6,  9,  12, 9,
    12, 5,  15, 8,  8,  5,  12, 9, 12, 5,  14, 6,  8,  13, 6,  5,  15, 13, 11, 11};

constexpr uint32_t kLeftConstants[5] = {0, 0x5A827999, 0x6ED9EBA1, 0x8F1BBCDC, 0xA953FD4E};
constexpr uint32_t kRight160Constants[5] = {0x50A28BE6, 0x5C4DD124, 0x6D703EF3, 0x7A6D76E9, 0};
constexpr uint32_t kRight128Constants[4] = {0x50A28BE6, 0x5C4DD124, 0x6D703EF3, 0};

// The five boolean functions, numbered 0 to 4 in the order of the left line.
template <size_t N>
constexpr uint32_t Fn(uint32_t x, uint32_t y, uint32_t z) {
  if constexpr (N == 0)
    return x ^ y ^ z;
  else if constexpr (N == 1)
    return z ^ (x & (y ^ z));
  else if constexpr (N == 2)
    return (x | ~y) ^ z;
  else if constexpr (N == 3)
    return y ^ (z & (x ^ y));
  else
    return x ^ (y | ~z);
}

// Step J of a RIPEMD-160 line. The five words keep their slots; the roles
// move by one slot per step, so the step writes its result into the slot of
// A (which becomes B) and rotates C in place (which becomes D).
template <size_t J, size_t Function, uint32_t K, uint32_t Word, uint32_t Shift>
inline void Step160(uint32_t (&v)[5], const uint32_t (&x)[16]) {
  constexpr size_t a = (100 - J) % 5, b = (101 - J) % 5, c = (102 - J) % 5, d = (103 - J) % 5,
                   e = (104 - J) % 5;
  v[a] = RotL32(v[a] + Fn<Function>(v[b], v[c], v[d]) + x[Word] + K, Shift) + v[e];
  v[c] = RotL32(v[c], 10);
}

// One block of RIPEMD-160; the chaining words of both lines are locals of
// this function so that they live in registers throughout.
template <size_t... J>
void Compress160(uint32_t (&h)[5], const uint8_t* block, std::index_sequence<J...>) {
  uint32_t x[16];
  for (size_t i = 0; i < 16; ++i) x[i] = LoadLE32(block + 4 * i);
  uint32_t left[5] = {h[0], h[1], h[2], h[3], h[4]};
  uint32_t right[5] = {h[0], h[1], h[2], h[3], h[4]};
  ((Step160<J, J / 16, kLeftConstants[J / 16], kLeftWord[J], kLeftShift[J]>(left, x),
    Step160<J, 4 - J / 16, kRight160Constants[J / 16], kRightWord[J], kRightShift[J]>(right, x)),
   ...);
  const uint32_t t = h[1] + left[2] + right[3];
  h[1] = h[2] + left[3] + right[4];
  h[2] = h[3] + left[4] + right[0];
  h[3] = h[4] + left[0] + right[1];
  h[4] = h[0] + left[1] + right[2];
  h[0] = t;
}

// Step J of a RIPEMD-128 line: four words, no rotation of C.
template <size_t J, size_t Function, uint32_t K, uint32_t Word, uint32_t Shift>
inline void Step128(uint32_t (&v)[4], const uint32_t (&x)[16]) {
  constexpr size_t a = (64 - J) % 4, b = (65 - J) % 4, c = (66 - J) % 4, d = (67 - J) % 4;
  v[a] = RotL32(v[a] + Fn<Function>(v[b], v[c], v[d]) + x[Word] + K, Shift);
}

template <size_t... J>
void Compress128(uint32_t (&h)[5], const uint8_t* block, std::index_sequence<J...>) {
  uint32_t x[16];
  for (size_t i = 0; i < 16; ++i) x[i] = LoadLE32(block + 4 * i);
  uint32_t left[4] = {h[0], h[1], h[2], h[3]};
  uint32_t right[4] = {h[0], h[1], h[2], h[3]};
  ((Step128<J, J / 16, kLeftConstants[J / 16], kLeftWord[J], kLeftShift[J]>(left, x),
    Step128<J, 3 - J / 16, kRight128Constants[J / 16], kRightWord[J], kRightShift[J]>(right, x)),
   ...);
  const uint32_t t = h[1] + left[2] + right[3];
  h[1] = h[2] + left[3] + right[0];
  h[2] = h[3] + left[0] + right[1];
  h[3] = h[0] + left[1] + right[2];
  h[0] = t;
}

void Blocks(uint32_t (&h)[5], const uint8_t* blocks, size_t count, uint32_t bits) {
  for (; count > 0; --count, blocks += 64) {
    if (bits == 160)
      Compress160(h, blocks, std::make_index_sequence<80>());
    else
      Compress128(h, blocks, std::make_index_sequence<64>());
  }
}

}  // namespace

void RipemdInit(RipemdState& state, uint32_t bits) {
  state = {};
  const uint32_t h[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  std::memcpy(state.h, h, bits == 160 ? 5 * sizeof(uint32_t) : 4 * sizeof(uint32_t));
}

void RipemdUpdate(RipemdState& state, const uint8_t* data, size_t length, uint32_t bits) {
  state.bytes += length;
  FeedBlocks(state.buffer, state.fill, data, length,
             [&state, bits](const uint8_t* blocks, size_t n) { Blocks(state.h, blocks, n, bits); });
}

void RipemdFinal(RipemdState& state, uint32_t bits, std::string& hex) {
  uint8_t* block = state.buffer;
  size_t fill = state.fill;
  block[fill++] = 0x80;
  if (fill > 56) {
    std::memset(block + fill, 0, 64 - fill);
    Blocks(state.h, block, 1, bits);
    fill = 0;
  }
  std::memset(block + fill, 0, 56 - fill);
  const uint64_t length = state.bytes << 3;
  for (size_t i = 0; i < 8; ++i) block[56 + i] = static_cast<uint8_t>(length >> (8 * i));
  Blocks(state.h, block, 1, bits);
  state.fill = 0;
  hex.clear();
  for (size_t i = 0; i < bits / 32; ++i) AppendValueHex(hex, 8, ByteSwap32(state.h[i]));
}

}  // namespace quillet
