// The SHA family. Whole blocks are transformed straight from the input; the
// buffer only holds the partial blocks at either end of an update.
#include "hash/SHA.h"

#include <array>
#include <cstring>
#include <utility>

#include "hash/CryptoUtils.h"
#include "hash/SHA512_x86.h"
#include "hash/SHA_x86.h"

namespace quillet {
namespace {

constexpr uint32_t Ch(uint32_t x, uint32_t y, uint32_t z) {
  return z ^ (x & (y ^ z));
}
constexpr uint32_t Maj(uint32_t x, uint32_t y, uint32_t z) {
  return (x & y) | (z & (x | y));
}

constexpr uint32_t Parity(uint32_t x, uint32_t y, uint32_t z) {
  return x ^ y ^ z;
}

// SHA-1 step J, unrolled at compile time. The five words keep their slots
// and the roles move instead: the sum goes to the slot of e (the next a) and
// b is rotated in place (the next c).
// The schedule word is made here too, next to its use: made in a loop of its
// own, it gets vectorised into overlapping loads and stores that stall.
template <size_t J>
inline void Sha1Step(uint32_t (&v)[5], uint32_t (&w)[80]) {
  if constexpr (J >= 16) w[J] = RotL32(w[J - 3] ^ w[J - 8] ^ w[J - 14] ^ w[J - 16], 1);
  constexpr size_t a = (80 - J) % 5, b = (81 - J) % 5, c = (82 - J) % 5, d = (83 - J) % 5,
                   e = (84 - J) % 5;
  uint32_t f;
  if constexpr (J < 20)
    f = Ch(v[b], v[c], v[d]) + 0x5A827999;
  else if constexpr (J < 40)
    f = Parity(v[b], v[c], v[d]) + 0x6ED9EBA1;
  else if constexpr (J < 60)
    f = Maj(v[b], v[c], v[d]) + 0x8F1BBCDC;
  else
    f = Parity(v[b], v[c], v[d]) + 0xCA62C1D6;
  v[e] += RotL32(v[a], 5) + f + w[J];
  v[b] = RotL32(v[b], 30);
}

template <size_t... J>
void Sha1Compress(uint32_t (&h)[8], const uint8_t* block, std::index_sequence<J...>) {
  uint32_t w[80];
  for (size_t t = 0; t < 16; ++t) w[t] = LoadBE32(block + 4 * t);
  uint32_t v[5] = {h[0], h[1], h[2], h[3], h[4]};
  (Sha1Step<J>(v, w), ...);
  for (size_t i = 0; i < 5; ++i) h[i] += v[i];
}

void Sha1Blocks(uint32_t (&h)[8], const uint8_t* blocks, size_t count) {
  for (; count > 0; --count, blocks += 64) Sha1Compress(h, blocks, std::make_index_sequence<80>());
}

struct Sha256Traits {
  using Word = uint32_t;
  static constexpr const uint32_t* kConstants = kSha256Constants;
  static Word Big0(Word x) { return RotR32(x, 2) ^ RotR32(x, 13) ^ RotR32(x, 22); }
  static Word Big1(Word x) { return RotR32(x, 6) ^ RotR32(x, 11) ^ RotR32(x, 25); }
  static Word Small0(Word x) { return RotR32(x, 7) ^ RotR32(x, 18) ^ (x >> 3); }
  static Word Small1(Word x) { return RotR32(x, 17) ^ RotR32(x, 19) ^ (x >> 10); }
  static Word Load(const uint8_t* bytes) { return LoadBE32(bytes); }
};

struct Sha512Traits {
  using Word = uint64_t;
  static constexpr const uint64_t* kConstants = kSha512Constants;
  static Word Big0(Word x) { return RotR64(x, 28) ^ RotR64(x, 34) ^ RotR64(x, 39); }
  static Word Big1(Word x) { return RotR64(x, 14) ^ RotR64(x, 18) ^ RotR64(x, 41); }
  static Word Small0(Word x) { return RotR64(x, 1) ^ RotR64(x, 8) ^ (x >> 7); }
  static Word Small1(Word x) { return RotR64(x, 19) ^ RotR64(x, 61) ^ (x >> 6); }
  static Word Load(const uint8_t* bytes) { return LoadBE64(bytes); }
};

// SHA-2 step J, unrolled at compile time, its schedule word made beside it
// (see Sha1Step). The eight words keep their slots and the roles move: d and
// h take their new values, which are the next e and a.
template <class T, size_t J>
inline void Sha2Step(typename T::Word (&v)[8], typename T::Word (&w)[80]) {
  if constexpr (J >= 16) w[J] = w[J - 16] + T::Small0(w[J - 15]) + w[J - 7] + T::Small1(w[J - 2]);
  constexpr size_t a = (80 - J) % 8, b = (81 - J) % 8, c = (82 - J) % 8, d = (83 - J) % 8,
                   e = (84 - J) % 8, f = (85 - J) % 8, g = (86 - J) % 8, h = (87 - J) % 8;
  const typename T::Word t1 =
      v[h] + T::Big1(v[e]) + (v[g] ^ (v[e] & (v[f] ^ v[g]))) + T::kConstants[J] + w[J];
  const typename T::Word t2 = T::Big0(v[a]) + ((v[a] & v[b]) | (v[c] & (v[a] | v[b])));
  v[d] += t1;
  v[h] = t1 + t2;
}

template <class T, size_t... J>
void Sha2Compress(typename T::Word (&h)[8], const uint8_t* block, std::index_sequence<J...>) {
  using Word = typename T::Word;
  Word w[80];
  for (size_t t = 0; t < 16; ++t) w[t] = T::Load(block + sizeof(Word) * t);
  Word v[8] = {h[0], h[1], h[2], h[3], h[4], h[5], h[6], h[7]};
  (Sha2Step<T, J>(v, w), ...);
  for (size_t i = 0; i < 8; ++i) h[i] += v[i];
}

void Sha256Blocks(uint32_t (&h)[8], const uint8_t* blocks, size_t count) {
  for (; count > 0; --count, blocks += 64)
    Sha2Compress<Sha256Traits>(h, blocks, std::make_index_sequence<64>());
}

void Sha512Blocks(uint64_t (&h)[8], const uint8_t* blocks, size_t count) {
  for (; count > 0; --count, blocks += 128)
    Sha2Compress<Sha512Traits>(h, blocks, std::make_index_sequence<80>());
}

constexpr Sha32Kernels kPortable = {Sha1Blocks, Sha256Blocks};
constexpr Sha64Kernels kPortable64 = {Sha512Blocks};

constexpr std::array<KernelVariant<Sha32Kernels>, 1> kVariants = {{
    {"sha", ShaniSha32Kernels},
}};
constexpr std::array<KernelVariant<Sha64Kernels>, 3> kVariants64 = {{
    {"avx512", Avx512Sha64Kernels},
    {"avx2", Avx2Sha64Kernels},
    {"ssse3", Ssse3Sha64Kernels},
}};

void Sha32Blocks(uint32_t (&h)[8], const uint8_t* blocks, size_t count, uint32_t variant) {
  const Sha32Kernels& kernels = *ChosenSha32Kernels().kernels;
  (variant == 1 ? kernels.sha1 : kernels.sha256)(h, blocks, count);
}

// Runs of 1, 2, 3 and the rest of the self-test blocks from the given state:
// the accelerated kernels carry the state from block to block of a run in
// registers, and some take two blocks at a time, which one block alone would
// not test.
template <class Word, size_t Block>
bool SameStates(void (*candidate)(Word (&)[8], const uint8_t*, size_t),
                void (*portable)(Word (&)[8], const uint8_t*, size_t), const Word (&start)[8]) {
  Word expected[8], actual[8];
  std::memcpy(expected, start, sizeof expected);
  std::memcpy(actual, start, sizeof actual);
  constexpr size_t kBlocks = kSelfTestBytes / Block;
  static_assert(kBlocks > 6);
  const uint8_t* blocks = kSelfTestData.data();
  for (size_t count : {size_t{1}, size_t{2}, size_t{3}, kBlocks - 6}) {
    portable(expected, blocks, count);
    candidate(actual, blocks, count);
    blocks += count * Block;
  }
  return std::memcmp(expected, actual, sizeof expected) == 0;
}

// The padding shared by both records: 0x80, zeros, then the bit count in the
// last eight bytes (the 64-bit record's upper eight length bytes stay zero).
template <size_t Block, class Transform>
void Pad(uint8_t (&buffer)[Block], size_t fill, uint64_t bytes, Transform&& transform) {
  buffer[fill++] = 0x80;
  if (fill > Block - 8 - (Block == 128 ? 8 : 0)) {
    std::memset(buffer + fill, 0, Block - fill);
    transform(buffer, size_t{1});
    fill = 0;
  }
  std::memset(buffer + fill, 0, Block - 8 - fill);
  const uint64_t bits = bytes << 3;
  for (size_t i = 0; i < 8; ++i) buffer[Block - 1 - i] = static_cast<uint8_t>(bits >> (8 * i));
  transform(buffer, size_t{1});
}

}  // namespace

const Sha32Kernels& PortableSha32Kernels() {
  return kPortable;
}

bool Sha32SelfTest(const Sha32Kernels& candidate) {
  Sha32State sha1, sha256;
  Sha1Init(sha1);
  Sha256Init(sha256);
  return SameStates<uint32_t, 64>(candidate.sha1, kPortable.sha1, sha1.h) &&
         SameStates<uint32_t, 64>(candidate.sha256, kPortable.sha256, sha256.h);
}

// A wrong transform would give wrong digests silently; one that disagrees
// with the portable code is not used.
const KernelChoice<Sha32Kernels>& ChosenSha32Kernels() {
  static const KernelChoice<Sha32Kernels> choice =
      ChooseKernels(kPortable, kVariants, Sha32SelfTest);
  return choice;
}

const Sha64Kernels& PortableSha64Kernels() {
  return kPortable64;
}

bool Sha64SelfTest(const Sha64Kernels& candidate) {
  Sha64State sha384, sha512;
  Sha384Init(sha384);
  Sha512Init(sha512);
  return SameStates<uint64_t, 128>(candidate.sha512, kPortable64.sha512, sha384.h) &&
         SameStates<uint64_t, 128>(candidate.sha512, kPortable64.sha512, sha512.h);
}

const KernelChoice<Sha64Kernels>& ChosenSha64Kernels() {
  static const KernelChoice<Sha64Kernels> choice =
      ChooseKernels(kPortable64, kVariants64, Sha64SelfTest);
  return choice;
}

void Sha1Init(Sha32State& state) {
  state = {};
  const uint32_t h[5] = {0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  std::memcpy(state.h, h, sizeof h);
}

void Sha256Init(Sha32State& state) {
  state = {};
  const uint32_t h[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                         0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  std::memcpy(state.h, h, sizeof h);
}

void Sha32Update(Sha32State& state, const uint8_t* data, size_t length, uint32_t variant) {
  state.bytes += length;
  FeedBlocks(state.buffer, state.fill, data, length,
             [&state, variant](const uint8_t* blocks, size_t count) {
               Sha32Blocks(state.h, blocks, count, variant);
             });
}

void Sha32Final(Sha32State& state, uint32_t variant, std::string& hex) {
  Pad(state.buffer, state.fill, state.bytes, [&state, variant](const uint8_t* block, size_t n) {
    Sha32Blocks(state.h, block, n, variant);
  });
  state.fill = 0;
  hex.clear();
  const size_t words = variant == 1 ? 5 : 8;
  hex.reserve(8 * words);
  for (size_t i = 0; i < words; ++i) AppendValueHex(hex, 8, state.h[i]);
}

void Sha384Init(Sha64State& state) {
  state = {};
  const uint64_t h[8] = {0xcbbb9d5dc1059ed8, 0x629a292a367cd507, 0x9159015a3070dd17,
                         0x152fecd8f70e5939, 0x67332667ffc00b31, 0x8eb44a8768581511,
                         0xdb0c2e0d64f98fa7, 0x47b5481dbefa4fa4};
  std::memcpy(state.h, h, sizeof h);
}

void Sha512Init(Sha64State& state) {
  state = {};
  const uint64_t h[8] = {0x6a09e667f3bcc908, 0xbb67ae8584caa73b, 0x3c6ef372fe94f82b,
                         0xa54ff53a5f1d36f1, 0x510e527fade682d1, 0x9b05688c2b3e6c1f,
                         0x1f83d9abfb41bd6b, 0x5be0cd19137e2179};
  std::memcpy(state.h, h, sizeof h);
}

void Sha64Update(Sha64State& state, const uint8_t* data, size_t length) {
  state.bytes += length;
  const Sha64Transform transform = ChosenSha64Kernels().kernels->sha512;
  FeedBlocks(
      state.buffer, state.fill, data, length,
      [&state, transform](const uint8_t* blocks, size_t n) { transform(state.h, blocks, n); });
}

void Sha64Final(Sha64State& state, uint32_t bits, std::string& hex) {
  const Sha64Transform transform = ChosenSha64Kernels().kernels->sha512;
  Pad(state.buffer, state.fill, state.bytes,
      [&state, transform](const uint8_t* block, size_t n) { transform(state.h, block, n); });
  state.fill = 0;
  hex.clear();
  const size_t words = bits == 384 ? 6 : 8;
  hex.reserve(16 * words);
  for (size_t i = 0; i < words; ++i) AppendValueHex(hex, 16, state.h[i]);
}

}  // namespace quillet
