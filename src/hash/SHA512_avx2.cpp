// SHA-512 on AVX2 with BMI1 and BMI2, 64-bit x86 only. Two blocks are taken
// at a time: their message schedules are made together, block one's words in
// the low half of each 256-bit register and block two's in the high half, as
// pairs of words (W[t] depends on W[t - 2], so no more than two of a block's
// words can be made at once). The schedule for both is made while block one's
// rounds run, interleaved with them so that the vector and the integer units
// work side by side; block two's rounds then read theirs ready-made.
#include "hash/SHA512_x86.h"

#include "hash/CpuFeatures.h"

#if defined(__x86_64__)

#include <immintrin.h>

#include <bit>
#include <utility>

#define QUILLET_AVX2 __attribute__((target("avx2,bmi,bmi2")))
#define QUILLET_AVX2_INLINE QUILLET_AVX2 __attribute__((always_inline)) inline

namespace quillet {
namespace {

// W[t] + K[t] of both blocks, pair by pair: entries 4p and 4p + 1 hold words
// 2p and 2p + 1 of block one, entries 4p + 2 and 4p + 3 those of block two.
using Schedules = uint64_t[160];
// w[i % 8] holds the pair of words 2i, 2i + 1 of both blocks.
using Pairs = __m256i[8];

QUILLET_AVX2_INLINE __m256i RotR(__m256i x, int n) {
  return _mm256_or_si256(_mm256_srli_epi64(x, n), _mm256_slli_epi64(x, 64 - n));
}

QUILLET_AVX2_INLINE void Store(Schedules& wk, size_t t, __m256i w) {
  const __m256i k = _mm256_broadcastsi128_si256(
      _mm_loadu_si128(reinterpret_cast<const __m128i*>(kSha512Constants + t)));
  _mm256_store_si256(reinterpret_cast<__m256i*>(wk + 2 * t), _mm256_add_epi64(w, k));
}

// Words t and t + 1 of both blocks, from words t - 16 to t - 1.
template <size_t t>
QUILLET_AVX2_INLINE void SchedulePair(Pairs& w, Schedules& wk) {
  constexpr size_t p = t / 2 % 8;
  const __m256i w15 = _mm256_alignr_epi8(w[(p + 1) % 8], w[p], 8);
  const __m256i w7 = _mm256_alignr_epi8(w[(p + 5) % 8], w[(p + 4) % 8], 8);
  const __m256i w2 = w[(p + 7) % 8];
  const __m256i s0 =
      _mm256_xor_si256(_mm256_xor_si256(RotR(w15, 1), RotR(w15, 8)), _mm256_srli_epi64(w15, 7));
  const __m256i s1 =
      _mm256_xor_si256(_mm256_xor_si256(RotR(w2, 19), RotR(w2, 61)), _mm256_srli_epi64(w2, 6));
  w[p] = _mm256_add_epi64(_mm256_add_epi64(w[p], s0), _mm256_add_epi64(w7, s1));
  Store(wk, t, w[p]);
}

// Round J. The eight words keep their slots and the roles move, as in the
// portable transform. Maj(a, b, c) is b ^ ((a ^ b) & (b ^ c)), and b ^ c is
// the a ^ b of the round before, carried in ab; Ch(e, f, g) is (e & f) +
// (~e & g), the two having no bit in common.
template <size_t J, bool kSchedule>
QUILLET_AVX2_INLINE void Round(uint64_t (&v)[8], uint64_t& ab, Pairs& w, Schedules& wk,
                               size_t block) {
  constexpr size_t a = (80 - J) % 8, b = (81 - J) % 8, d = (83 - J) % 8, e = (84 - J) % 8,
                   f = (85 - J) % 8, g = (86 - J) % 8, h = (87 - J) % 8;
  if constexpr (kSchedule && J % 2 == 0 && J + 16 < 80) SchedulePair<J + 16>(w, wk);
  const uint64_t hk = v[h] + wk[4 * (J / 2) + 2 * block + J % 2];
  const uint64_t ch = (v[e] & v[f]) + (v[g] & ~v[e]);
  const uint64_t s1 = std::rotr(v[e], 14) ^ std::rotr(v[e], 18) ^ std::rotr(v[e], 41);
  const uint64_t t1 = hk + ch + s1;
  v[d] += t1;
  const uint64_t s0 = std::rotr(v[a], 28) ^ std::rotr(v[a], 34) ^ std::rotr(v[a], 39);
  const uint64_t next = v[a] ^ v[b];
  const uint64_t maj = v[b] ^ (next & ab);
  ab = next;
  v[h] = t1 + s0 + maj;
}

template <bool kSchedule, size_t... J>
QUILLET_AVX2_INLINE void Rounds(uint64_t (&h)[8], Pairs& w, Schedules& wk, size_t block,
                                std::index_sequence<J...>) {
  uint64_t v[8] = {h[0], h[1], h[2], h[3], h[4], h[5], h[6], h[7]};
  uint64_t ab = v[1] ^ v[2];
  (Round<J, kSchedule>(v, ab, w, wk, block), ...);
  for (size_t i = 0; i < 8; ++i) h[i] += v[i];
}

// Loads words 0 to 15 of both blocks (the second may be the first again).
QUILLET_AVX2_INLINE void LoadPairs(Pairs& w, Schedules& wk, const uint8_t* one,
                                   const uint8_t* two) {
  const __m256i reversal = _mm256_set_epi64x(0x08090a0b0c0d0e0fLL, 0x0001020304050607LL,
                                             0x08090a0b0c0d0e0fLL, 0x0001020304050607LL);
  for (size_t i = 0; i < 8; ++i) {
    const __m256i bytes =
        _mm256_setr_m128i(_mm_loadu_si128(reinterpret_cast<const __m128i*>(one + 16 * i)),
                          _mm_loadu_si128(reinterpret_cast<const __m128i*>(two + 16 * i)));
    w[i] = _mm256_shuffle_epi8(bytes, reversal);
    Store(wk, 2 * i, w[i]);
  }
}

QUILLET_AVX2 void Blocks(uint64_t (&h)[8], const uint8_t* blocks, size_t count) {
  alignas(32) Schedules wk;
  Pairs w;
  for (; count >= 2; count -= 2, blocks += 256) {
    LoadPairs(w, wk, blocks, blocks + 128);
    Rounds<true>(h, w, wk, 0, std::make_index_sequence<80>());
    Rounds<false>(h, w, wk, 1, std::make_index_sequence<80>());
  }
  if (count == 1) {
    LoadPairs(w, wk, blocks, blocks);
    Rounds<true>(h, w, wk, 0, std::make_index_sequence<80>());
  }
}

constexpr Sha64Transforms kAvx2 = {Blocks};

}  // namespace

const Sha64Transforms* Avx2Sha64Transforms() {
  const CpuFeatures& cpu = ProcessorFeatures();
  return cpu.avx2 && cpu.bmi1 && cpu.bmi2 ? &kAvx2 : nullptr;
}

}  // namespace quillet

#else

namespace quillet {

const Sha64Transforms* Avx2Sha64Transforms() {
  return nullptr;
}

}  // namespace quillet

#endif
