// SHA-512 rounds on 128-bit registers with the state words paired, for
// 32-bit x86, where a 64-bit word fits no general register and eight vector
// registers have to hold the state and the temporaries.
//
// In the standard pairing (e, a), (f, b), (g, c), (h, d), one per register
// with the first word in the low half, a round works on both halves at once:
// the two Sigma functions side by side, Ch(e, f, g) beside Maj(a, b, c)
// (which is Ch(a ^ b, c, b)). The rounds themselves run on a staggered
// pairing, the low half one round ahead of the high half: step r takes
// (e[r], a[r - 1]) and makes (e[r + 1], a[r]), where e[r + 1] = d + T1[r]
// and a[r] = T1[r - 1] + T2[r - 1]. T1 of the step before, the one term that
// crosses from the low half to the high, is e[r] less its d, known as soon
// as the step's input is: the Sigma functions, the longest part of a step,
// start at once, and the new pair comes out of them in one more addition.
// The registers hold (e[r], a[r - 1]), (e[r - 1], a[r - 2]), (e[r - 2],
// a[r - 3]) and (e[r - 3], a[r - 4]) and move by one each step, back after
// four; 80 steps and one more for the last a make a block's 80 rounds.
//
// Included by the kernels that use these rounds under their own
// #pragma GCC target, so that the code is compiled for each instruction set.
// Their Sigma type gives, in Both(x), Sigma1 of x's low half in the low half
// and Sigma0 of its high half in the high half, and in Join(low, high) the
// low half of low with the high half of high.
#pragma once

#include <immintrin.h>

#include <cstddef>
#include <cstdint>

namespace quillet {
namespace {

#define QUILLET_PAIRS_INLINE __attribute__((always_inline)) inline

// The standard pairs of h: (e, a), (f, b), (g, c), (h, d).
QUILLET_PAIRS_INLINE void PairsLoad(__m128i (&pairs)[4], const uint64_t (&h)[8]) {
  for (size_t i = 0; i < 4; ++i)
    pairs[i] = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(h + 4 + i)),
                                  _mm_loadl_epi64(reinterpret_cast<const __m128i*>(h + i)));
}

QUILLET_PAIRS_INLINE void PairsStore(uint64_t (&h)[8], const __m128i (&pairs)[4]) {
  for (size_t i = 0; i < 4; ++i) {
    _mm_storel_epi64(reinterpret_cast<__m128i*>(h + 4 + i), pairs[i]);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(h + i), _mm_unpackhi_epi64(pairs[i], pairs[i]));
  }
}

// (Ch(e, f, g), Maj(a, b, c)) for x = (e, a), y = (f, b), z = (g, c), as
// g ^ (e & (f ^ g)) and b ^ ((a ^ b) & (c ^ b)).
template <class Sigma>
QUILLET_PAIRS_INLINE __m128i PairsChooseMajority(__m128i x, __m128i y, __m128i z) {
  const __m128i select = _mm_xor_si128(x, _mm_and_si128(y, _mm_set_epi64x(-1, 0)));
  return _mm_xor_si128(Sigma::Join(z, y), _mm_and_si128(select, _mm_xor_si128(y, z)));
}

// Step r of a group: v[(4 - r) % 4] holds (e[r], a[r - 1]), the next slots
// the three pairs before it; the new pair takes the slot of the oldest.
// wk points at W[r] + K[r].
template <class Sigma, size_t r>
QUILLET_PAIRS_INLINE void PairsStep(__m128i (&v)[4], const uint64_t* wk) {
  const __m128i x = v[(4 - r) % 4], y = v[(5 - r) % 4], z = v[(6 - r) % 4];
  __m128i& oldest = v[(7 - r) % 4];
  // (h + W + K + d, T1 of the step before): h is the oldest pair's low half,
  // d the high half of z, and T1 before is e[r] less the d of its step, the
  // oldest pair's high half.
  const __m128i low = _mm_add_epi64(_mm_add_epi64(oldest, _mm_srli_si128(z, 8)),
                                    _mm_loadl_epi64(reinterpret_cast<const __m128i*>(wk)));
  const __m128i high = _mm_sub_epi64(_mm_slli_si128(x, 8), oldest);
  oldest = _mm_add_epi64(
      Sigma::Both(x), _mm_add_epi64(PairsChooseMajority<Sigma>(x, y, z), Sigma::Join(low, high)));
}

// Eight steps, whose words lie in pairs kStride apart from wk on.
template <class Sigma, size_t kStride>
QUILLET_PAIRS_INLINE void PairsGroup(__m128i (&v)[4], const uint64_t* wk) {
  PairsStep<Sigma, 0>(v, wk);
  PairsStep<Sigma, 1>(v, wk + 1);
  PairsStep<Sigma, 2>(v, wk + kStride);
  PairsStep<Sigma, 3>(v, wk + kStride + 1);
  PairsStep<Sigma, 0>(v, wk + 2 * kStride);
  PairsStep<Sigma, 1>(v, wk + 2 * kStride + 1);
  PairsStep<Sigma, 2>(v, wk + 3 * kStride);
  PairsStep<Sigma, 3>(v, wk + 3 * kStride + 1);
}

// The staggered pairs before step 0 from the standard pairs: (e, b), (f, c),
// (g, d), and (h, e - T1) with the T1 that would have made a, a - T2 of
// (b, c, d).
template <class Sigma>
QUILLET_PAIRS_INLINE void PairsStagger(__m128i (&v)[4], const __m128i (&pairs)[4]) {
  v[0] = Sigma::Join(pairs[0], pairs[1]);
  v[1] = Sigma::Join(pairs[1], pairs[2]);
  v[2] = Sigma::Join(pairs[2], pairs[3]);
  // High half: T2 = Sigma0(b) + Maj(b, c, d); then e - a + T2.
  const __m128i t2 = _mm_add_epi64(Sigma::Both(v[0]), PairsChooseMajority<Sigma>(v[0], v[1], v[2]));
  const __m128i ea = _mm_sub_epi64(_mm_slli_si128(pairs[0], 8), pairs[0]);  // (-e, e - a)
  v[3] = Sigma::Join(pairs[3], _mm_add_epi64(ea, t2));
}

// After 80 steps (v holding (e[80], a[79]) to (e[77], a[76]) in its slots
// 0 to 3): the step that makes a[80], and the standard pairs of the result.
// The step's low half is not used, nor the word it adds there.
template <class Sigma>
QUILLET_PAIRS_INLINE void PairsUnstagger(__m128i (&pairs)[4], __m128i (&v)[4]) {
  const uint64_t unused = 0;
  const __m128i e77 = v[3];
  PairsStep<Sigma, 0>(v, &unused);  // (-, a[80]) into slot 3
  pairs[0] = Sigma::Join(v[0], v[3]);
  pairs[1] = Sigma::Join(v[1], v[0]);
  pairs[2] = Sigma::Join(v[2], v[1]);
  pairs[3] = Sigma::Join(e77, v[2]);
}

#undef QUILLET_PAIRS_INLINE

}  // namespace
}  // namespace quillet
