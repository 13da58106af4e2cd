// The body of the AVX2 SHA-512 kernel: the schedules of two blocks at a
// time in 256-bit registers, the rounds in general registers (64-bit x86) or
// in staggered pairs (32-bit x86). Included by the kernels that use it under
// their own target pragmas, so that the code is compiled for each
// instruction set; they include SHA512_pairs.h first on 32-bit x86.
//
// The including kernel first defines the struct Lanes, which gives the
// operations its instruction set does best: Rotate<n>(x), each 64-bit lane
// of a 256-bit x rotated right by n; Rotate(x, low, high), the low half of a
// 128-bit x rotated right by low and its high half by high; and Xor3(x, y,
// z) on either width.
#pragma once

#include <immintrin.h>

#include <bit>
#include <cstddef>
#include <cstdint>

#include "hash/SHA.h"

#define QUILLET_AVX2_INLINE __attribute__((always_inline)) inline

namespace quillet {
namespace {

// A pair's schedule comes in 40 pieces: piece i holds words 2i and 2i + 1 of
// both blocks. Pieces 0 to 7 are the blocks' own words.
constexpr size_t kPieces = 40;
constexpr size_t kLoadedPieces = 8;
// The rounds run in groups of eight, after which the roles of the eight
// state words are back where they started: ten to a block.
constexpr size_t kGroups = 10;

// W[t] + K[t] of both blocks, piece by piece: entries 4i and 4i + 1 hold
// words 2i and 2i + 1 of block one, entries 4i + 2 and 4i + 3 those of block
// two, as the pieces lie in the registers.
using Summed = uint64_t[4 * kPieces];

// The round constants as the pieces add them: each pair twice, once for
// either block.
constexpr auto kPairedConstants = [] {
  struct alignas(32) {
    uint64_t k[4 * kPieces];
  } paired{};
  for (size_t i = 0; i < kPieces; ++i)
    for (size_t j = 0; j < 4; ++j) paired.k[4 * i + j] = kSha512Constants[2 * i + j % 2];
  return paired;
}();

// The buffers of one pair's schedule.
struct alignas(32) Schedule {
  __m256i words[kPieces];  // W[t], read by the later pieces
  Summed summed;           // W[t] + K[t], read by the rounds
};

// How a block's groups make pieces of a schedule after their rounds, from
// piece first on: so many in each of the first so many groups, none in the
// rest.
struct Making {
  Schedule* schedule;
  size_t first;
  size_t each;
  size_t groups;
};

// Where a pair's 32 computed pieces are made. The first pair of a call makes
// its own during its first block, four after each of the first eight groups
// (group k's rounds read pieces 4k to 4k + 3, made by then). Any other pair's
// are made during the pair before it: two after each group of that pair's
// first block and of its second block's first six, or, if that pair was the
// first and busy with its own at first, four after each of the first eight
// groups of its second block.
constexpr size_t kOwnEach = 4, kOwnGroups = 8;
constexpr size_t kAheadEach = 2, kAheadSecondFrom = kLoadedPieces + kAheadEach * kGroups,
                 kAheadSecondGroups = (kPieces - kAheadSecondFrom) / kAheadEach;
static_assert(kLoadedPieces + kOwnEach * kOwnGroups == kPieces);
static_assert(kAheadSecondFrom + kAheadEach * kAheadSecondGroups == kPieces);

// The words between two consecutive pieces: in each block's half, the
// second word of low and the first of high.
QUILLET_AVX2_INLINE __m256i Straddle(__m256i low, __m256i high) {
  return _mm256_castpd_si256(
      _mm256_shuffle_pd(_mm256_castsi256_pd(low), _mm256_castsi256_pd(high), 0b0101));
}

QUILLET_AVX2_INLINE void StorePiece(Schedule& schedule, size_t i, __m256i w) {
  _mm256_store_si256(schedule.words + i, w);
  const __m256i k = _mm256_load_si256(reinterpret_cast<const __m256i*>(kPairedConstants.k + 4 * i));
  _mm256_store_si256(reinterpret_cast<__m256i*>(schedule.summed + 4 * i), _mm256_add_epi64(w, k));
}

// Pieces 0 to 7: the words of blocks one and two (the same block twice for
// a pair of one).
QUILLET_AVX2_INLINE void LoadPieces(Schedule& schedule, const uint8_t* one, const uint8_t* two) {
  const __m256i reversal = _mm256_set_epi64x(0x08090a0b0c0d0e0fLL, 0x0001020304050607LL,
                                             0x08090a0b0c0d0e0fLL, 0x0001020304050607LL);
  for (size_t i = 0; i < kLoadedPieces; ++i)
    StorePiece(
        schedule, i,
        _mm256_shuffle_epi8(
            _mm256_setr_m128i(_mm_loadu_si128(reinterpret_cast<const __m128i*>(one + 16 * i)),
                              _mm_loadu_si128(reinterpret_cast<const __m128i*>(two + 16 * i))),
            reversal));
}

// Piece i >= 8 from the pieces before it.
QUILLET_AVX2_INLINE void MakePiece(Schedule& schedule, size_t i) {
  // Words t - 16 and t - 15 lie in piece i - 8 and i - 7, t - 7 and t - 6
  // in i - 4 and i - 3, t - 2 and t - 1 in i - 1.
  const __m256i* words = schedule.words;
  const __m256i w16 = _mm256_load_si256(words + i - 8);
  const __m256i w15 = Straddle(w16, _mm256_load_si256(words + i - 7));
  const __m256i w7 = Straddle(_mm256_load_si256(words + i - 4), _mm256_load_si256(words + i - 3));
  const __m256i w2 = _mm256_load_si256(words + i - 1);
  const __m256i s0 =
      Lanes::Xor3(Lanes::Rotate<1>(w15), Lanes::Rotate<8>(w15), _mm256_srli_epi64(w15, 7));
  const __m256i s1 =
      Lanes::Xor3(Lanes::Rotate<19>(w2), Lanes::Rotate<61>(w2), _mm256_srli_epi64(w2, 6));
  StorePiece(schedule, i, _mm256_add_epi64(_mm256_add_epi64(w16, s0), _mm256_add_epi64(w7, s1)));
}

#if defined(__x86_64__)

// The state in general registers: the eight words, and the a ^ b of the
// round before (see Round).
struct State {
  uint64_t v[8];
  uint64_t ab;
};

QUILLET_AVX2_INLINE State Load(const uint64_t (&h)[8]) {
  return {{h[0], h[1], h[2], h[3], h[4], h[5], h[6], h[7]}, h[1] ^ h[2]};
}

QUILLET_AVX2_INLINE void Add(uint64_t (&h)[8], const State& state) {
  for (size_t i = 0; i < 8; ++i) h[i] += state.v[i];
}

// Keeps the compiler from moving later terms of a sum ahead of x: it would
// otherwise add the newest state words last and lengthen the chain of
// additions from one round to the next.
QUILLET_AVX2_INLINE void Pin(uint64_t& x) {
  __asm__("" : "+r"(x));
}

// Round r of a group of eight, whose words lie in pairs four entries apart
// from wk on. The eight words keep their slots and the roles move, as in the
// portable transform. Maj(a, b, c) is b ^ ((a ^ b) & (b ^ c)), and b ^ c is
// the a ^ b of the round before, carried in ab; Ch(e, f, g) is
// (e & f) + (~e & g), the two having no bit in common.
template <size_t r>
QUILLET_AVX2_INLINE void Round(uint64_t (&v)[8], uint64_t& ab, const uint64_t* wk) {
  constexpr size_t a = (8 - r) % 8, b = (9 - r) % 8, d = (11 - r) % 8, e = (12 - r) % 8,
                   f = (13 - r) % 8, g = (14 - r) % 8, h = (15 - r) % 8;
  uint64_t hk = v[h] + wk[4 * (r / 2) + r % 2];
  Pin(hk);
  const uint64_t s1 = std::rotr(v[e], 14) ^ std::rotr(v[e], 18) ^ std::rotr(v[e], 41);
  const uint64_t t1 = hk + (v[e] & v[f]) + (v[g] & ~v[e]) + s1;
  v[d] += t1;
  const uint64_t s0 = std::rotr(v[a], 28) ^ std::rotr(v[a], 34) ^ std::rotr(v[a], 39);
  const uint64_t next = v[a] ^ v[b];
  const uint64_t maj = v[b] ^ (next & ab);
  ab = next;
  v[h] = t1 + s0 + maj;
}

QUILLET_AVX2_INLINE void Group(State& state, const uint64_t* wk) {
  Round<0>(state.v, state.ab, wk);
  Round<1>(state.v, state.ab, wk);
  Round<2>(state.v, state.ab, wk);
  Round<3>(state.v, state.ab, wk);
  Round<4>(state.v, state.ab, wk);
  Round<5>(state.v, state.ab, wk);
  Round<6>(state.v, state.ab, wk);
  Round<7>(state.v, state.ab, wk);
}

#else

// The state in staggered pairs, as SHA512_pairs.h has it; the two Sigma
// functions share their instructions, each half rotated by its own count.
struct State {
  __m128i v[4];
};

struct Sigma {
  QUILLET_AVX2_INLINE static __m128i Both(__m128i x) {
    return Lanes::Xor3(Lanes::Rotate(x, 14, 28), Lanes::Rotate(x, 18, 34),
                       Lanes::Rotate(x, 41, 39));
  }
  QUILLET_AVX2_INLINE static __m128i Join(__m128i low, __m128i high) {
    return _mm_blend_epi32(low, high, 0b1100);
  }
};

QUILLET_AVX2_INLINE State Load(const uint64_t (&h)[8]) {
  __m128i pairs[4];
  PairsLoad(pairs, h);
  State state;
  PairsStagger<Sigma>(state.v, pairs);
  return state;
}

QUILLET_AVX2_INLINE void Add(uint64_t (&h)[8], State& state) {
  __m128i pairs[4], sum[4];
  PairsUnstagger<Sigma>(pairs, state.v);
  PairsLoad(sum, h);
  for (size_t i = 0; i < 4; ++i) sum[i] = _mm_add_epi64(sum[i], pairs[i]);
  PairsStore(h, sum);
}

QUILLET_AVX2_INLINE void Group(State& state, const uint64_t* wk) {
  PairsGroup<Sigma, 4>(state.v, wk);
}

#endif

// Groups from to to of a block whose summed words start at wk, each followed
// by kEach pieces of schedule from piece next on; in one stretch of code, so
// that the compiler can interleave the pieces' vector instructions with the
// rounds'.
template <size_t kEach>
QUILLET_AVX2_INLINE void Groups(State& state, const uint64_t* wk, size_t from, size_t to,
                                Schedule* schedule, size_t& next) {
  for (size_t group = from; group < to; ++group) {
    Group(state, wk + 16 * group);
    for (size_t i = 0; i < kEach; ++i) MakePiece(*schedule, next + i);
    next += kEach;
  }
}

// The 80 rounds of block (0 or 1) of a pair whose schedule is summed, making
// pieces 8 on of another schedule (or of its own) as making says. Not
// inlined: its few calls share one copy of the code.
__attribute__((noinline)) void Block(uint64_t (&h)[8], const Summed& summed, size_t block,
                                     const Making& making) {
  State state = Load(h);
  const uint64_t* wk = summed + 2 * block;
  size_t next = making.first;
  if (making.each == kOwnEach) {
    Groups<kOwnEach>(state, wk, 0, making.groups, making.schedule, next);
  } else if (making.each == kAheadEach) {
    Groups<kAheadEach>(state, wk, 0, making.groups, making.schedule, next);
  }
  Groups<0>(state, wk, making.each ? making.groups : 0, kGroups, making.schedule, next);
  Add(h, state);
}

constexpr Making kNothing = {nullptr, 0, 0, 0};

QUILLET_VECTOR_ENTRY void Blocks(uint64_t (&h)[8], const uint8_t* blocks, size_t count) {
  if (count == 0) return;
  Schedule schedules[2];
  LoadPieces(schedules[0], blocks, count > 1 ? blocks + 128 : blocks);
  for (size_t pair = 0; count > 0; ++pair) {
    Schedule& current = schedules[pair % 2];
    Schedule& following = schedules[(pair + 1) % 2];
    const bool two = count > 1;
    const uint8_t* next = blocks + (two ? 256 : 128);
    count -= two ? 2 : 1;
    const bool ahead = count > 0;
    if (ahead) LoadPieces(following, next, count > 1 ? next + 128 : next);
    if (pair == 0) {
      Block(h, current.summed, 0, {&current, kLoadedPieces, kOwnEach, kOwnGroups});
      if (two)
        Block(h, current.summed, 1,
              ahead ? Making{&following, kLoadedPieces, kOwnEach, kOwnGroups} : kNothing);
    } else {
      Block(h, current.summed, 0,
            ahead ? Making{&following, kLoadedPieces, kAheadEach, kGroups} : kNothing);
      if (two)
        Block(h, current.summed, 1,
              ahead ? Making{&following, kAheadSecondFrom, kAheadEach, kAheadSecondGroups}
                    : kNothing);
    }
    blocks = next;
  }
}

#undef QUILLET_AVX2_INLINE

}  // namespace
}  // namespace quillet
