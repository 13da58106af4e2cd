// SHA-512 on SSSE3, 32-bit x86 only: there a 64-bit word would take two
// general registers, of which the processor has seven, and every rotation
// four shifts; in a 128-bit register a word is one value, added, shifted
// and combined in one instruction each. The rounds are those of
// SHA512_pairs.h, whose two Sigma functions are each made on the whole
// register here and their halves joined; the schedule is made two words at
// a time (W[t] depends on W[t - 2]), in memory, between the rounds.
#include "hash/SHA512_x86.h"

#include "hash/CpuFeatures.h"

#if defined(__i386__)

#include <immintrin.h>

// Every function from here to the end of the kernel is compiled for SSSE3
// (GCC's target pragma; clang's attribute pragma does the same).
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("ssse3"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("ssse3")
// Scheduling before register allocation, minding register pressure: without
// it the compiler starts all twelve shifts of a round at once and spills
// most of them, 32-bit x86 having eight vector registers.
#pragma GCC optimize("schedule-insns", "sched-pressure")
#endif

#include "hash/SHA512_pairs.h"

namespace quillet {
namespace {

#define QUILLET_SSSE3_INLINE __attribute__((always_inline)) inline

QUILLET_SSSE3_INLINE __m128i RotR(__m128i x, int n) {
  return _mm_or_si128(_mm_srli_epi64(x, n), _mm_slli_epi64(x, 64 - n));
}

struct Sigma {
  QUILLET_SSSE3_INLINE static __m128i Join(__m128i low, __m128i high) {
    return _mm_castpd_si128(_mm_shuffle_pd(_mm_castsi128_pd(low), _mm_castsi128_pd(high), 0b10));
  }
  QUILLET_SSSE3_INLINE static __m128i Both(__m128i x) {
    const __m128i s1 = _mm_xor_si128(_mm_xor_si128(RotR(x, 14), RotR(x, 18)), RotR(x, 41));
    const __m128i s0 = _mm_xor_si128(_mm_xor_si128(RotR(x, 28), RotR(x, 34)), RotR(x, 39));
    return Join(s1, s0);
  }
};

// A block's schedule in 40 pieces of two words: W[t] for the later pieces,
// W[t] + K[t] for the rounds. Pieces 0 to 7 are the block's own words.
constexpr size_t kPieces = 40;
constexpr size_t kLoadedPieces = 8;
// Rounds run in groups of eight; each of the first eight groups is followed
// by four pieces: group k reads pieces 4k to 4k + 3, made by then.
constexpr size_t kGroups = 10;
constexpr size_t kEach = 4;
static_assert(kLoadedPieces + kEach * (kGroups - 2) == kPieces);

struct alignas(16) Schedule {
  uint64_t words[2 * kPieces];
  uint64_t summed[2 * kPieces];
};

QUILLET_SSSE3_INLINE __m128i Load(const uint64_t* words) {
  return _mm_load_si128(reinterpret_cast<const __m128i*>(words));
}
QUILLET_SSSE3_INLINE __m128i LoadUnaligned(const uint64_t* words) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(words));
}

QUILLET_SSSE3_INLINE void StorePiece(Schedule& schedule, size_t i, __m128i w) {
  _mm_store_si128(reinterpret_cast<__m128i*>(schedule.words + 2 * i), w);
  _mm_store_si128(reinterpret_cast<__m128i*>(schedule.summed + 2 * i),
                  _mm_add_epi64(w, LoadUnaligned(kSha512Constants + 2 * i)));
}

// Piece i >= 8: words 2i and 2i + 1 from those before them.
QUILLET_SSSE3_INLINE void MakePiece(Schedule& schedule, size_t i) {
  const uint64_t* words = schedule.words + 2 * i;
  const __m128i w15 = LoadUnaligned(words - 15);
  const __m128i w2 = Load(words - 2);
  // sigma0 rotates by 8 with a byte shuffle.
  const __m128i rotate8 = _mm_set_epi64x(0x080f0e0d0c0b0a09LL, 0x0007060504030201LL);
  const __m128i s0 = _mm_xor_si128(_mm_xor_si128(RotR(w15, 1), _mm_shuffle_epi8(w15, rotate8)),
                                   _mm_srli_epi64(w15, 7));
  const __m128i s1 =
      _mm_xor_si128(_mm_xor_si128(RotR(w2, 19), RotR(w2, 61)), _mm_srli_epi64(w2, 6));
  StorePiece(schedule, i,
             _mm_add_epi64(_mm_add_epi64(Load(words - 16), s0),
                           _mm_add_epi64(LoadUnaligned(words - 7), s1)));
}

QUILLET_VECTOR_ENTRY void Blocks(uint64_t (&h)[8], const uint8_t* blocks, size_t count) {
  Schedule schedule;
  const __m128i reversal = _mm_set_epi64x(0x08090a0b0c0d0e0fLL, 0x0001020304050607LL);
  __m128i state[4];
  PairsLoad(state, h);
  for (; count > 0; --count, blocks += 128) {
    for (size_t i = 0; i < kLoadedPieces; ++i)
      StorePiece(schedule, i,
                 _mm_shuffle_epi8(
                     _mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i)), reversal));
    __m128i v[4], pairs[4];
    PairsStagger<Sigma>(v, state);
    size_t next = kLoadedPieces;
    for (size_t group = 0; group < kGroups; ++group) {
      PairsGroup<Sigma, 2>(v, schedule.summed + 8 * group);
      if (next < kPieces)
        for (size_t i = 0; i < kEach; ++i) MakePiece(schedule, next++);
    }
    PairsUnstagger<Sigma>(pairs, v);
    for (size_t i = 0; i < 4; ++i) state[i] = _mm_add_epi64(state[i], pairs[i]);
  }
  PairsStore(h, state);
}

#undef QUILLET_SSSE3_INLINE

}  // namespace
}  // namespace quillet

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

namespace quillet {

const Sha64Kernels* Ssse3Sha64Kernels() {
  static constexpr Sha64Kernels kSsse3 = {Blocks};
  return ProcessorFeatures().ssse3 ? &kSsse3 : nullptr;
}

}  // namespace quillet

#else

namespace quillet {

const Sha64Kernels* Ssse3Sha64Kernels() {
  return nullptr;
}

}  // namespace quillet

#endif
