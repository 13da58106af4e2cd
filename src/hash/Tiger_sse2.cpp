// Tiger on SSE2, 32-bit x86 only. The chaining words and the message words
// live in the low halves of 128-bit registers, where the 64-bit additions,
// subtractions, shifts and XORs of the rounds and the key schedule are one
// instruction each and the multiplications by 5, 7 and 9 a shift and an
// addition; the S-box entries are loaded straight into such registers. Only
// the byte indices pass through general registers, two 32-bit halves of c
// per round.
#include "hash/Tiger_x86.h"

#include "hash/CpuFeatures.h"

#if defined(__i386__)

#include <immintrin.h>

#define QUILLET_SSE2 __attribute__((target("sse2")))
#define QUILLET_SSE2_INLINE QUILLET_SSE2 __attribute__((always_inline)) inline
#define QUILLET_SSE2_ENTRY QUILLET_SSE2 QUILLET_VECTOR_ENTRY

namespace quillet {
namespace {

using Words = __m128i[8];

QUILLET_SSE2_INLINE __m128i Entry(const uint64_t (&box)[256], uint32_t index) {
  return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(box + index));
}

// b * 5, b * 7 or b * 9 modulo 2^64.
template <int kMultiplier>
QUILLET_SSE2_INLINE __m128i Multiply(__m128i b) {
  if constexpr (kMultiplier == 5) return _mm_add_epi64(b, _mm_slli_epi64(b, 2));
  if constexpr (kMultiplier == 7) return _mm_sub_epi64(_mm_slli_epi64(b, 3), b);
  if constexpr (kMultiplier == 9) return _mm_add_epi64(b, _mm_slli_epi64(b, 3));
}

// One round: c takes the message word; a and b take four S-box look-ups each,
// indexed by the even and the odd bytes of c.
template <int kMultiplier>
QUILLET_SSE2_INLINE void Round(const TigerSBoxes& t, __m128i& a, __m128i& b, __m128i& c,
                               __m128i x) {
  c = _mm_xor_si128(c, x);
  const uint32_t low = static_cast<uint32_t>(_mm_cvtsi128_si32(c));
  const uint32_t high = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_srli_epi64(c, 32)));
  const __m128i even =
      _mm_xor_si128(_mm_xor_si128(Entry(t[0], low & 0xFF), Entry(t[1], (low >> 16) & 0xFF)),
                    _mm_xor_si128(Entry(t[2], high & 0xFF), Entry(t[3], (high >> 16) & 0xFF)));
  const __m128i odd =
      _mm_xor_si128(_mm_xor_si128(Entry(t[3], (low >> 8) & 0xFF), Entry(t[2], low >> 24)),
                    _mm_xor_si128(Entry(t[1], (high >> 8) & 0xFF), Entry(t[0], high >> 24)));
  a = _mm_sub_epi64(a, even);
  b = Multiply<kMultiplier>(_mm_add_epi64(b, odd));
}

template <int kMultiplier>
QUILLET_SSE2_INLINE void Pass(const TigerSBoxes& t, __m128i& a, __m128i& b, __m128i& c,
                              const Words& x) {
  Round<kMultiplier>(t, a, b, c, x[0]);
  Round<kMultiplier>(t, b, c, a, x[1]);
  Round<kMultiplier>(t, c, a, b, x[2]);
  Round<kMultiplier>(t, a, b, c, x[3]);
  Round<kMultiplier>(t, b, c, a, x[4]);
  Round<kMultiplier>(t, c, a, b, x[5]);
  Round<kMultiplier>(t, a, b, c, x[6]);
  Round<kMultiplier>(t, b, c, a, x[7]);
}

QUILLET_SSE2_INLINE void KeySchedule(Words& x) {
  const __m128i ones = _mm_set1_epi32(-1);
  x[0] = _mm_sub_epi64(x[0], _mm_xor_si128(x[7], _mm_set1_epi32(static_cast<int>(0xA5A5A5A5))));
  x[1] = _mm_xor_si128(x[1], x[0]);
  x[2] = _mm_add_epi64(x[2], x[1]);
  x[3] = _mm_sub_epi64(x[3], _mm_xor_si128(x[2], _mm_slli_epi64(_mm_xor_si128(x[1], ones), 19)));
  x[4] = _mm_xor_si128(x[4], x[3]);
  x[5] = _mm_add_epi64(x[5], x[4]);
  x[6] = _mm_sub_epi64(x[6], _mm_xor_si128(x[5], _mm_srli_epi64(_mm_xor_si128(x[4], ones), 23)));
  x[7] = _mm_xor_si128(x[7], x[6]);
  x[0] = _mm_add_epi64(x[0], x[7]);
  x[1] = _mm_sub_epi64(x[1], _mm_xor_si128(x[0], _mm_slli_epi64(_mm_xor_si128(x[7], ones), 19)));
  x[2] = _mm_xor_si128(x[2], x[1]);
  x[3] = _mm_add_epi64(x[3], x[2]);
  x[4] = _mm_sub_epi64(x[4], _mm_xor_si128(x[3], _mm_srli_epi64(_mm_xor_si128(x[2], ones), 23)));
  x[5] = _mm_xor_si128(x[5], x[4]);
  x[6] = _mm_add_epi64(x[6], x[5]);
  x[7] = _mm_sub_epi64(
      x[7], _mm_xor_si128(x[6], _mm_set_epi32(0, 0, 0x01234567, static_cast<int>(0x89ABCDEF))));
}

// As the portable compression: the roles of a, b and c rotate after every
// pass and are back in place after three.
QUILLET_SSE2_ENTRY void Blocks(uint64_t (&chain)[3], const uint8_t* blocks, size_t count,
                               int32_t passes) {
  const TigerSBoxes& t = TigerTables();
  __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(chain));
  __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(chain + 1));
  __m128i c = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(chain + 2));
  for (; count > 0; --count, blocks += 64) {
    Words x;
    for (int j = 0; j < 8; ++j)
      x[j] = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(blocks + 8 * j));
    const __m128i savedA = a, savedB = b, savedC = c;
    Pass<5>(t, a, b, c, x);
    KeySchedule(x);
    Pass<7>(t, c, a, b, x);
    KeySchedule(x);
    Pass<9>(t, b, c, a, x);
    for (int32_t pass = 3; pass < passes; ++pass) {
      KeySchedule(x);
      Pass<9>(t, a, b, c, x);
      const __m128i rotated = a;
      a = c;
      c = b;
      b = rotated;
    }
    a = _mm_xor_si128(a, savedA);
    b = _mm_sub_epi64(b, savedB);
    c = _mm_add_epi64(c, savedC);
  }
  _mm_storel_epi64(reinterpret_cast<__m128i*>(chain), a);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(chain + 1), b);
  _mm_storel_epi64(reinterpret_cast<__m128i*>(chain + 2), c);
}

constexpr TigerKernels kSse2 = {Blocks};

}  // namespace

const TigerKernels* Sse2TigerKernels() {
  return ProcessorFeatures().sse2 ? &kSse2 : nullptr;
}

}  // namespace quillet

#else

namespace quillet {

const TigerKernels* Sse2TigerKernels() {
  return nullptr;
}

}  // namespace quillet

#endif
