// GOST R 34.11-94: the step function with GOST 28147-89 encryption through four
// round tables generated at compile time from the S-boxes, whole blocks taken
// straight from the caller's data.
#include "hash/Gost.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "hash/CryptoUtils.h"

namespace quillet {
namespace {

using Value = uint64_t[4];

// S1 to S8 of the test parameter set.
constexpr uint8_t kSBoxes[8][16] = {
    {4, 10, 9, 2, 13, 8, 0, 14, 6, 11, 1, 12, 7, 15, 5, 3},
    {14, 11, 4, 12, 6, 13, 15, 10, 2, 3, 8, 1, 0, 7, 5, 9},
    {5, 8, 1, 13, 10, 3, 4, 2, 14, 15, 12, 7, 6, 0, 9, 11},
    {7, 13, 10, 1, 0, 8, 9, 15, 14, 4, 6, 12, 11, 2, 5, 3},
    {6, 12, 7, 1, 5, 15, 13, 8, 4, 10, 9, 14, 0, 3, 11, 2},
    {4, 11, 10, 0, 7, 2, 1, 13, 3, 6, 8, 5, 9, 12, 15, 14},
    {13, 11, 4, 1, 3, 15, 5, 9, 0, 10, 14, 7, 6, 8, 2, 12},
    {1, 15, 13, 0, 5, 7, 10, 4, 9, 2, 3, 14, 6, 11, 8, 12},
};

// Table k maps byte k of a 32-bit word through its two S-boxes, already shifted
// into place and rotated left by 11, so that a round is four look-ups.
using RoundTables = std::array<std::array<uint32_t, 256>, 4>;

constexpr RoundTables MakeRoundTables() {
  RoundTables tables{};
  for (unsigned k = 0; k < 4; ++k) {
    for (unsigned value = 0; value < 256; ++value) {
      const uint32_t substituted = static_cast<uint32_t>(kSBoxes[2 * k + 1][value >> 4])
                                       << (8 * k + 4) |
                                   static_cast<uint32_t>(kSBoxes[2 * k][value & 15]) << (8 * k);
      tables[k][value] = RotL32(substituted, 11);
    }
  }
  return tables;
}

constexpr RoundTables kRoundTables = MakeRoundTables();

inline uint32_t RoundFunction(uint32_t x) {
  return kRoundTables[0][x & 0xFF] ^ kRoundTables[1][(x >> 8) & 0xFF] ^
         kRoundTables[2][(x >> 16) & 0xFF] ^ kRoundTables[3][x >> 24];
}

// GOST 28147-89 in simple substitution mode on the four 64-bit parts of h,
// each under its own key: key words 0 to 7 three times, then 7 down to 0; the
// halves leave in swapped order. The four encryptions are independent, so
// their rounds are interleaved.
using Keys = uint32_t[4][8];

[[gnu::always_inline]] inline void Rounds(uint32_t (&target)[4], const uint32_t (&source)[4],
                                          const Keys& keys, unsigned j) {
  target[0] ^= RoundFunction(source[0] + keys[0][j]);
  target[1] ^= RoundFunction(source[1] + keys[1][j]);
  target[2] ^= RoundFunction(source[2] + keys[2][j]);
  target[3] ^= RoundFunction(source[3] + keys[3][j]);
}

inline void Encrypt(const Value& h, const Keys& keys, Value& s) {
  uint32_t n1[4], n2[4];
  for (unsigned i = 0; i < 4; ++i) {
    n1[i] = static_cast<uint32_t>(h[i]);
    n2[i] = static_cast<uint32_t>(h[i] >> 32);
  }
  for (int repeat = 0; repeat < 3; ++repeat) {
    for (unsigned j = 0; j < 8; j += 2) {
      Rounds(n2, n1, keys, j);
      Rounds(n1, n2, keys, j + 1);
    }
  }
  for (unsigned j = 8; j > 0; j -= 2) {
    Rounds(n2, n1, keys, j - 1);
    Rounds(n1, n2, keys, j - 2);
  }
  for (unsigned i = 0; i < 4; ++i) s[i] = static_cast<uint64_t>(n1[i]) << 32 | n2[i];
}

// P: byte 8i + k of w becomes byte 4k + i of the key, i.e. key word k gathers
// byte k of each 64-bit word of w.
inline void KeyFrom(const Value& w, uint32_t (&key)[8]) {
  for (unsigned k = 0; k < 8; ++k) {
    key[k] = static_cast<uint32_t>((w[0] >> (8 * k)) & 0xFF) |
             static_cast<uint32_t>((w[1] >> (8 * k)) & 0xFF) << 8 |
             static_cast<uint32_t>((w[2] >> (8 * k)) & 0xFF) << 16 |
             static_cast<uint32_t>((w[3] >> (8 * k)) & 0xFF) << 24;
  }
}

// A: y4 || y3 || y2 || y1 becomes (y1 ^ y2) || y4 || y3 || y2.
inline void ShiftA(Value& y) {
  const uint64_t top = y[0] ^ y[1];
  y[0] = y[1];
  y[1] = y[2];
  y[2] = y[3];
  y[3] = top;
}

// C3 of the standard, ff00ffff 000000ff ... ff00ff00 written from the most
// significant end.
constexpr Value kC3 = {0xFF00FF00FF00FF00ull, 0x00FF00FF00FF00FFull, 0xFF0000FF00FFFF00ull,
                       0xFF00FFFF000000FFull};

// The step function: four keys from h and m, encryption of the four 64-bit
// parts of h, then the shuffle psi^61(h ^ psi(m ^ psi^12(s))).
void Compress(Value& h, const Value& m) {
  Value u = {h[0], h[1], h[2], h[3]};
  Value v = {m[0], m[1], m[2], m[3]};
  Keys keys;
  for (unsigned j = 0; j < 4; ++j) {
    if (j > 0) {
      ShiftA(u);
      if (j == 2) {
        for (unsigned i = 0; i < 4; ++i) u[i] ^= kC3[i];
      }
      ShiftA(v);
      ShiftA(v);
    }
    const Value w = {u[0] ^ v[0], u[1] ^ v[1], u[2] ^ v[2], u[3] ^ v[3]};
    KeyFrom(w, keys[j]);
  }
  Value s;
  Encrypt(h, keys, s);
  // psi shifts sixteen 16-bit words down by one and puts the XOR of words 0, 1,
  // 2, 3, 12 and 15 on top: a linear recurrence, so psi^n(y) is the window at n
  // of the sequence that y starts.
  uint16_t y[16 + 12 + 1 + 61];
  for (unsigned i = 0; i < 16; ++i) y[i] = static_cast<uint16_t>(s[i / 4] >> (16 * (i % 4)));
  auto extend = [&y](unsigned from, unsigned to) {
    for (unsigned n = from; n < to; ++n) {
      y[n] = y[n - 16] ^ y[n - 15] ^ y[n - 14] ^ y[n - 13] ^ y[n - 4] ^ y[n - 1];
    }
  };
  extend(16, 28);
  for (unsigned i = 0; i < 16; ++i) y[12 + i] ^= static_cast<uint16_t>(m[i / 4] >> (16 * (i % 4)));
  extend(28, 29);
  for (unsigned i = 0; i < 16; ++i) y[13 + i] ^= static_cast<uint16_t>(h[i / 4] >> (16 * (i % 4)));
  extend(29, 90);
  for (unsigned i = 0; i < 4; ++i) {
    const uint16_t* word = y + 74 + 4 * i;
    h[i] = static_cast<uint64_t>(word[0]) | static_cast<uint64_t>(word[1]) << 16 |
           static_cast<uint64_t>(word[2]) << 32 | static_cast<uint64_t>(word[3]) << 48;
  }
}

// One message block of 32 bytes carrying bits message bits.
void ProcessBlock(GostState& state, const uint8_t* block, uint64_t bits) {
  Value m;
  for (unsigned i = 0; i < 4; ++i) m[i] = LoadLE64(block + 8 * i);
  uint64_t carry = 0;
  for (unsigned i = 0; i < 4; ++i) {
    const uint64_t partialSum = state.sum[i] + m[i];
    const uint64_t total = partialSum + carry;
    carry = (partialSum < m[i]) | (total < partialSum);
    state.sum[i] = total;
  }
  Compress(state.hash, m);
  state.length += bits;
}

}  // namespace

void GostInit(GostState& state) {
  state = {};
}

// A filled partial block is processed at once; of the rest, whole blocks are
// processed straight from data while more than 32 bytes remain, so the last 1
// to 32 bytes wait in partial for the next update or the finalisation.
void GostUpdate(GostState& state, const uint8_t* data, size_t length) {
  if (length == 0) return;
  const size_t take = std::min<size_t>(32 - state.partialCount, length);
  std::memcpy(state.partial + state.partialCount, data, take);
  state.partialCount += static_cast<uint32_t>(take);
  data += take;
  length -= take;
  if (state.partialCount < 32) return;
  ProcessBlock(state, state.partial, 256);
  for (; length > 32; data += 32, length -= 32) ProcessBlock(state, data, 256);
  if (length > 0) std::memcpy(state.partial, data, length);
  state.partialCount = static_cast<uint32_t>(length);
}

void GostFinal(GostState& state, std::string& hex) {
  if (state.partialCount > 0) {
    std::memset(state.partial + state.partialCount, 0, 32 - state.partialCount);
    ProcessBlock(state, state.partial, 8 * uint64_t{state.partialCount});
  }
  const Value length = {state.length, 0, 0, 0};
  Compress(state.hash, length);
  Compress(state.hash, state.sum);
  hex.clear();
  for (unsigned i = 0; i < 32; ++i) AppendValueHex(hex, 2, state.hash[i / 8] >> (8 * (i % 8)));
}

}  // namespace quillet
