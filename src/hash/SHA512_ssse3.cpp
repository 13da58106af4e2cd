// SHA-512 on SSSE3, 32-bit x86 only: there a 64-bit word would take two
// general registers, of which the processor has seven, and every rotation
// four shifts; in a 128-bit register a word is one value, added, shifted
// and combined in one instruction each. The schedule makes two words at a
// time (W[t] depends on W[t - 2]) and is interleaved with the rounds.
#include "hash/SHA512_x86.h"

#include "hash/CpuFeatures.h"

#if defined(__i386__)

#include <immintrin.h>

#include <utility>

#define QUILLET_SSSE3 __attribute__((target("ssse3")))
#define QUILLET_SSSE3_INLINE QUILLET_SSSE3 __attribute__((always_inline)) inline
// The entry point realigns the stack: a caller built by another compiler
// promises only 4-byte alignment, and the vector spills would fault.
#define QUILLET_SSSE3_ENTRY QUILLET_SSSE3 __attribute__((force_align_arg_pointer))

namespace quillet {
namespace {

// W[t] + K[t]; w[i % 8] holds words 2i and 2i + 1.
using Schedule = uint64_t[80];
using Pairs = __m128i[8];

QUILLET_SSSE3_INLINE __m128i RotR(__m128i x, int n) {
  return _mm_or_si128(_mm_srli_epi64(x, n), _mm_slli_epi64(x, 64 - n));
}

QUILLET_SSSE3_INLINE void Store(Schedule& wk, size_t t, __m128i w) {
  const __m128i k = _mm_loadu_si128(reinterpret_cast<const __m128i*>(kSha512Constants + t));
  _mm_store_si128(reinterpret_cast<__m128i*>(wk + t), _mm_add_epi64(w, k));
}

// Words t and t + 1, from words t - 16 to t - 1.
template <size_t t>
QUILLET_SSSE3_INLINE void SchedulePair(Pairs& w, Schedule& wk) {
  constexpr size_t p = t / 2 % 8;
  const __m128i w15 = _mm_alignr_epi8(w[(p + 1) % 8], w[p], 8);
  const __m128i w7 = _mm_alignr_epi8(w[(p + 5) % 8], w[(p + 4) % 8], 8);
  const __m128i w2 = w[(p + 7) % 8];
  const __m128i s0 =
      _mm_xor_si128(_mm_xor_si128(RotR(w15, 1), RotR(w15, 8)), _mm_srli_epi64(w15, 7));
  const __m128i s1 =
      _mm_xor_si128(_mm_xor_si128(RotR(w2, 19), RotR(w2, 61)), _mm_srli_epi64(w2, 6));
  w[p] = _mm_add_epi64(_mm_add_epi64(w[p], s0), _mm_add_epi64(w7, s1));
  Store(wk, t, w[p]);
}

// Round J on words in the low halves of registers; the roles move over the
// slots as in the portable transform, and Maj reuses the a ^ b of the round
// before (as b ^ c).
template <size_t J>
QUILLET_SSSE3_INLINE void Round(__m128i (&v)[8], __m128i& ab, Pairs& w, Schedule& wk) {
  constexpr size_t a = (80 - J) % 8, b = (81 - J) % 8, d = (83 - J) % 8, e = (84 - J) % 8,
                   f = (85 - J) % 8, g = (86 - J) % 8, h = (87 - J) % 8;
  if constexpr (J % 2 == 0 && J + 16 < 80) SchedulePair<J + 16>(w, wk);
  const __m128i hk = _mm_add_epi64(v[h], _mm_loadl_epi64(reinterpret_cast<const __m128i*>(wk + J)));
  const __m128i ch = _mm_xor_si128(_mm_and_si128(v[e], v[f]), _mm_andnot_si128(v[e], v[g]));
  const __m128i s1 = _mm_xor_si128(_mm_xor_si128(RotR(v[e], 14), RotR(v[e], 18)), RotR(v[e], 41));
  const __m128i t1 = _mm_add_epi64(_mm_add_epi64(hk, ch), s1);
  v[d] = _mm_add_epi64(v[d], t1);
  const __m128i s0 = _mm_xor_si128(_mm_xor_si128(RotR(v[a], 28), RotR(v[a], 34)), RotR(v[a], 39));
  const __m128i next = _mm_xor_si128(v[a], v[b]);
  const __m128i maj = _mm_xor_si128(v[b], _mm_and_si128(next, ab));
  ab = next;
  v[h] = _mm_add_epi64(t1, _mm_add_epi64(s0, maj));
}

template <size_t... J>
QUILLET_SSSE3_INLINE void Rounds(__m128i (&v)[8], Pairs& w, Schedule& wk,
                                 std::index_sequence<J...>) {
  __m128i ab = _mm_xor_si128(v[1], v[2]);
  (Round<J>(v, ab, w, wk), ...);
}

QUILLET_SSSE3_ENTRY void Blocks(uint64_t (&h)[8], const uint8_t* blocks, size_t count) {
  alignas(16) Schedule wk;
  const __m128i reversal = _mm_set_epi64x(0x08090a0b0c0d0e0fLL, 0x0001020304050607LL);
  __m128i state[8];
  for (size_t i = 0; i < 8; ++i)
    state[i] = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(h + i));
  for (; count > 0; --count, blocks += 128) {
    Pairs w;
    for (size_t i = 0; i < 8; ++i) {
      w[i] = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * i)),
                              reversal);
      Store(wk, 2 * i, w[i]);
    }
    __m128i v[8] = {state[0], state[1], state[2], state[3], state[4], state[5], state[6], state[7]};
    Rounds(v, w, wk, std::make_index_sequence<80>());
    for (size_t i = 0; i < 8; ++i) state[i] = _mm_add_epi64(state[i], v[i]);
  }
  for (size_t i = 0; i < 8; ++i) _mm_storel_epi64(reinterpret_cast<__m128i*>(h + i), state[i]);
}

constexpr Sha64Transforms kSsse3 = {Blocks};

}  // namespace

const Sha64Transforms* Ssse3Sha64Transforms() {
  return ProcessorFeatures().ssse3 ? &kSsse3 : nullptr;
}

}  // namespace quillet

#else

namespace quillet {

const Sha64Transforms* Ssse3Sha64Transforms() {
  return nullptr;
}

}  // namespace quillet

#endif
