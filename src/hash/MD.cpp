// MD2, MD4 and MD5. MD2 works on whole 16-byte blocks taken straight from the
// input, its checksum updated alongside; MD4 and MD5 transform whole 64-byte
// blocks straight from the input. Only partial blocks pass through a buffer.
#include "hash/MD.h"

#include <cstring>

#include "hash/CryptoUtils.h"

namespace quillet {
namespace {

// The MD2 substitution of RFC 1319, a permutation of 0..255 from the digits of pi.
constexpr uint8_t kPiSubst[256] = {
    41,  46,  67,  201, 162, 216, 124, 1,   61,  54,  84,  161, 236, 240, 6,   19,  98,  167, 5,
    243, 192, 199, 115, 140, 152, 147, 43,  217, 188, 76,  130, 202, 30,  155, 87,  60,  253, 212,
    224, 22,  103, 66,  111, 24,  138, 23,  229, 18,  190, 78,  196, 214, 218, 158, 222, 73,  160,
    251, 245, 142, 187, 47,  238, 122, 169, 104, 121, 145, 21,  178, 7,   63,  148, 194, 16,  137,
    11,  34,  95,  33,  128, 127, 93,  154, 90,  144, 50,  39,  53,  62,  204, 231, 191, 247, 151,
    3,   255, 25,  48,  179, 72,  165, 181, 209, 215, 94,  146, 42,  172, 86,  170, 198, 79,  184,
    56,  210, 150, 164, 125, 182, 118, 252, 107, 226, 156, 116, 4,   241, 69,  157, 112, 89,  100,
    113, 135, 32,  134, 91,  207, 101, 230, 45,  168, 2,   27,  96,  37,  173, 174, 176, 185, 246,
    28,  70,  97,  105, 52,  64,  126, 15,  85,  71,  163, 35,  221, 81,  175, 58,  195, 92,  249,
    206, 186, 197, 234, 38,  44,  83,  13,  110, 133, 40,  132, 9,   211, 223, 205, 244, 65,  129,
    77,  82,  106, 220, 55,  200, 108, 193, 171, 250, 36,  225, 123, 8,   12,  189, 177, 74,  120,
    136, 149, 139, 227, 99,  232, 109, 233, 203, 213, 254, 59,  0,   29,  57,  242, 239, 183, 14,
    102, 88,  208, 228, 166, 119, 114, 248, 235, 117, 75,  10,  49,  68,  80,  180, 143, 237, 31,
    26,  219, 153, 141, 51,  159, 17,  131, 20};

// MD2's rounds are one long chain of table look-ups (t = X[k] ^= S[t]), so
// their speed is the latency of one look-up plus one XOR. The state bytes are
// therefore held as addresses of their entries in a table of pre-scaled
// substitutions: XORing such an address with an entry gives the address for
// the next step directly, and the look-up is a plain pointer dereference
// instead of an indexed load, which is a cycle faster on current processors.
// The table's alignment makes "base + offset" and "base XOR offset" agree.
constexpr size_t kStride = sizeof(uintptr_t);
struct alignas(256 * kStride) ScaledSubst {
  uintptr_t entries[256];
};
constexpr ScaledSubst kScaledSubst = [] {
  ScaledSubst table{};
  for (size_t i = 0; i < 256; ++i) table.entries[i] = kPiSubst[i] * kStride;
  return table;
}();

// One MD2 block: checksum first (its carried byte is the last one written,
// checksum[15]), then the 18 rounds over the 48-byte state.
void MD2Block(MD2State& state, const uint8_t* block) {
  uint8_t last = state.checksum[15];
  for (size_t i = 0; i < 16; ++i) {
    state.checksum[i] ^= kPiSubst[block[i] ^ last];
    last = state.checksum[i];
  }
  const uintptr_t base = reinterpret_cast<uintptr_t>(kScaledSubst.entries);
  uintptr_t x[48];
  for (size_t i = 0; i < 16; ++i) {
    x[i] = base + state.x[i] * kStride;
    x[16 + i] = base + block[i] * kStride;
    x[32 + i] = base + (block[i] ^ state.x[i]) * kStride;
  }
  uintptr_t t = base;  // the entry of 0
  for (uintptr_t round = 0; round < 18; ++round) {
    for (size_t k = 0; k < 48; ++k) t = x[k] ^= *reinterpret_cast<const uintptr_t*>(t);
    t = base + ((t - base + round * kStride) & (255 * kStride));
  }
  for (size_t i = 0; i < 16; ++i) state.x[i] = static_cast<uint8_t>((x[i] - base) / kStride);
}

void MD2Blocks(MD2State& state, const uint8_t* blocks, size_t count) {
  for (; count > 0; --count, blocks += 16) MD2Block(state, blocks);
}

// The round functions and steps of RFC 1320 and RFC 1321. In each step b is
// the word the step before has just written and so the last to be ready;
// where a function splits into two parts with no bit in common, the part
// without b joins the sum early and only the part with b is left on the
// chain from step to step: MD5's G(b, c, d) is (b & d) + (c & ~d), and MD4's
// majority is (c & d) + (b & (c ^ d)).
constexpr uint32_t F(uint32_t x, uint32_t y, uint32_t z) {
  return z ^ (x & (y ^ z));
}
constexpr uint32_t H(uint32_t x, uint32_t y, uint32_t z) {
  return x ^ y ^ z;
}
constexpr uint32_t I(uint32_t x, uint32_t y, uint32_t z) {
  return y ^ (x | ~z);
}

// a + fn(b, c, d) + x + k with the additions that do not need b first.
template <uint32_t (*Fn)(uint32_t, uint32_t, uint32_t)>
inline uint32_t Sum(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, uint32_t k) {
  return (a + x + k) + Fn(b, c, d);
}
inline uint32_t SumG5(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, uint32_t k) {
  return (a + x + k + (c & ~d)) + (b & d);
}
inline uint32_t SumG4(uint32_t a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, uint32_t k) {
  return (a + x + k + (c & d)) + (b & (c ^ d));
}

template <uint32_t (*Fn)(uint32_t, uint32_t, uint32_t)>
inline void Step4(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, uint32_t k,
                  uint32_t s) {
  a = RotL32(Sum<Fn>(a, b, c, d, x, k), s);
}
inline void Step4G(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, uint32_t k,
                   uint32_t s) {
  a = RotL32(SumG4(a, b, c, d, x, k), s);
}

template <uint32_t (*Fn)(uint32_t, uint32_t, uint32_t)>
inline void Step5(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, uint32_t k,
                  uint32_t s) {
  a = b + RotL32(Sum<Fn>(a, b, c, d, x, k), s);
}
inline void Step5G(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t x, uint32_t k,
                   uint32_t s) {
  a = b + RotL32(SumG5(a, b, c, d, x, k), s);
}

// The 64 constants of RFC 1321, floor(abs(sin(i + 1)) * 2^32).
constexpr uint32_t kMD5Sines[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

void Load16(uint32_t (&x)[16], const uint8_t* block) {
  for (size_t i = 0; i < 16; ++i) x[i] = LoadLE32(block + 4 * i);
}

void Pad(MDState& state, MDTransform transform) {
  static constexpr uint8_t kPadding[64] = {0x80};
  const uint64_t bits = state.bytes << 3;
  const size_t index = state.fill;
  MDUpdate(state, kPadding, index < 56 ? 56 - index : 120 - index, transform);
  uint8_t length[8];
  for (size_t i = 0; i < 8; ++i) length[i] = static_cast<uint8_t>(bits >> (8 * i));
  MDUpdate(state, length, 8, transform);
}

}  // namespace

void MD2Init(MD2State& state) {
  state = {};
}

void MD2Update(MD2State& state, const uint8_t* data, size_t length) {
  FeedBlocks(state.buffer, state.fill, data, length,
             [&state](const uint8_t* blocks, size_t count) { MD2Blocks(state, blocks, count); });
}

void MD2Final(MD2State& state, std::string& hex) {
  const size_t pad = 16 - state.fill;
  uint8_t padding[16];
  std::memset(padding, static_cast<int>(pad), pad);
  MD2Update(state, padding, pad);
  uint8_t checksum[16];
  std::memcpy(checksum, state.checksum, sizeof checksum);
  MD2Block(state, checksum);
  hex.clear();
  for (size_t i = 0; i < 16; ++i) AppendValueHex(hex, 2, state.x[i]);
}

void MD4Transform(uint32_t (&h)[4], const uint8_t* blocks, size_t count) {
  constexpr uint32_t k2 = 0x5A827999, k3 = 0x6ED9EBA1;
  for (; count > 0; --count, blocks += 64) {
    uint32_t x[16];
    Load16(x, blocks);
    uint32_t a = h[0], b = h[1], c = h[2], d = h[3];
    for (size_t i = 0; i < 16; i += 4) {
      Step4<F>(a, b, c, d, x[i], 0, 3);
      Step4<F>(d, a, b, c, x[i + 1], 0, 7);
      Step4<F>(c, d, a, b, x[i + 2], 0, 11);
      Step4<F>(b, c, d, a, x[i + 3], 0, 19);
    }
    for (size_t i = 0; i < 4; ++i) {
      Step4G(a, b, c, d, x[i], k2, 3);
      Step4G(d, a, b, c, x[i + 4], k2, 5);
      Step4G(c, d, a, b, x[i + 8], k2, 9);
      Step4G(b, c, d, a, x[i + 12], k2, 13);
    }
    for (size_t i : {0, 2, 1, 3}) {
      Step4<H>(a, b, c, d, x[i], k3, 3);
      Step4<H>(d, a, b, c, x[i + 8], k3, 9);
      Step4<H>(c, d, a, b, x[i + 4], k3, 11);
      Step4<H>(b, c, d, a, x[i + 12], k3, 15);
    }
    h[0] += a;
    h[1] += b;
    h[2] += c;
    h[3] += d;
  }
}

void MD5Transform(uint32_t (&h)[4], const uint8_t* blocks, size_t count) {
  const uint32_t* k = kMD5Sines;
  for (; count > 0; --count, blocks += 64) {
    uint32_t x[16];
    Load16(x, blocks);
    uint32_t a = h[0], b = h[1], c = h[2], d = h[3];
    for (size_t i = 0; i < 16; i += 4) {
      Step5<F>(a, b, c, d, x[i], k[i], 7);
      Step5<F>(d, a, b, c, x[i + 1], k[i + 1], 12);
      Step5<F>(c, d, a, b, x[i + 2], k[i + 2], 17);
      Step5<F>(b, c, d, a, x[i + 3], k[i + 3], 22);
    }
    for (size_t i = 0; i < 16; i += 4) {
      Step5G(a, b, c, d, x[(5 * i + 1) % 16], k[16 + i], 5);
      Step5G(d, a, b, c, x[(5 * i + 6) % 16], k[17 + i], 9);
      Step5G(c, d, a, b, x[(5 * i + 11) % 16], k[18 + i], 14);
      Step5G(b, c, d, a, x[(5 * i + 16) % 16], k[19 + i], 20);
    }
    for (size_t i = 0; i < 16; i += 4) {
      Step5<H>(a, b, c, d, x[(3 * i + 5) % 16], k[32 + i], 4);
      Step5<H>(d, a, b, c, x[(3 * i + 8) % 16], k[33 + i], 11);
      Step5<H>(c, d, a, b, x[(3 * i + 11) % 16], k[34 + i], 16);
      Step5<H>(b, c, d, a, x[(3 * i + 14) % 16], k[35 + i], 23);
    }
    for (size_t i = 0; i < 16; i += 4) {
      Step5<I>(a, b, c, d, x[(7 * i) % 16], k[48 + i], 6);
      Step5<I>(d, a, b, c, x[(7 * i + 7) % 16], k[49 + i], 10);
      Step5<I>(c, d, a, b, x[(7 * i + 14) % 16], k[50 + i], 15);
      Step5<I>(b, c, d, a, x[(7 * i + 21) % 16], k[51 + i], 21);
    }
    h[0] += a;
    h[1] += b;
    h[2] += c;
    h[3] += d;
  }
}

void MDInit(MDState& state) {
  state = {};
  state.h[0] = 0x67452301;
  state.h[1] = 0xEFCDAB89;
  state.h[2] = 0x98BADCFE;
  state.h[3] = 0x10325476;
}

void MDUpdate(MDState& state, const uint8_t* data, size_t length, MDTransform transform) {
  state.bytes += length;
  FeedBlocks(state.buffer, state.fill, data, length,
             [&state, transform](const uint8_t* blocks, size_t count) {
               transform(state.h, blocks, count);
             });
}

void MDFinal(MDState& state, MDTransform transform, std::string& hex) {
  Pad(state, transform);
  hex.clear();
  for (uint32_t word : state.h) AppendValueHex(hex, 8, ByteSwap32(word));
}

}  // namespace quillet
