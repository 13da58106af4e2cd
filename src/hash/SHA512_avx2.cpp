// SHA-512 on AVX2. Blocks are taken in pairs: their message schedules are
// made together, block one's words in the low half of each 256-bit register
// and block two's in the high half, as pairs of words (W[t] depends on
// W[t - 2], so no more than two of a block's words can be made at once). A
// pair's schedule is made ahead, while the rounds of the pair before it run,
// a few words after every eight rounds in the same stretch of code, so that
// the vector instructions fill the gaps the rounds leave and the rounds read
// their words from memory, ready-made; only the first pair of a call makes
// its own, during its first block. The rounds run in a loop of eight (the
// roles of the state words come back after eight): written out, the 160
// rounds of a pair overflow the processor's cache of decoded instructions
// and run slower than the loop.
// On 64-bit x86 (with BMI1 and BMI2) the rounds run in general registers
// with rorx and andn; on 32-bit x86, where a 64-bit word fits no general
// register, they are those of SHA512_pairs.h, whose two Sigma functions
// share their instructions here, the shifts of AVX2 taking a count for each
// half of a register.
#include "hash/SHA512_x86.h"

#include "hash/CpuFeatures.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

// Every function from here to the end of the kernel is compiled for AVX2
// (GCC's target pragma; clang's attribute pragma does the same).
#if defined(__x86_64__) && defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2,bmi,bmi2"))), apply_to = function)
#elif defined(__x86_64__)
#pragma GCC push_options
#pragma GCC target("avx2,bmi,bmi2")
#elif defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#include "hash/SHA512_pairs.h"
#else
#pragma GCC push_options
#pragma GCC target("avx2")
// Scheduling before register allocation, minding register pressure: 32-bit
// x86 has eight vector registers.
#pragma GCC optimize("schedule-insns", "sched-pressure")
#include "hash/SHA512_pairs.h"
#endif

namespace quillet {
namespace {

// The lane operations of SHA512_avx2.h on AVX2: a rotation is two shifts and
// an OR, but one by a whole byte is one byte shuffle.
struct Lanes {
  template <int n>
  __attribute__((always_inline)) static __m256i Rotate(__m256i x) {
    if constexpr (n == 8) {
      const __m256i rotate8 = _mm256_set_epi64x(0x080f0e0d0c0b0a09LL, 0x0007060504030201LL,
                                                0x080f0e0d0c0b0a09LL, 0x0007060504030201LL);
      return _mm256_shuffle_epi8(x, rotate8);
    } else {
      return _mm256_or_si256(_mm256_srli_epi64(x, n), _mm256_slli_epi64(x, 64 - n));
    }
  }
  __attribute__((always_inline)) static __m256i Xor3(__m256i x, __m256i y, __m256i z) {
    return _mm256_xor_si256(_mm256_xor_si256(x, y), z);
  }
#if defined(__i386__)
  __attribute__((always_inline)) static __m128i Rotate(__m128i x, int low, int high) {
    return _mm_or_si128(_mm_srlv_epi64(x, _mm_set_epi64x(high, low)),
                        _mm_sllv_epi64(x, _mm_set_epi64x(64 - high, 64 - low)));
  }
  __attribute__((always_inline)) static __m128i Xor3(__m128i x, __m128i y, __m128i z) {
    return _mm_xor_si128(_mm_xor_si128(x, y), z);
  }
#endif
};

}  // namespace
}  // namespace quillet

#include "hash/SHA512_avx2.h"

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif

namespace quillet {

const Sha64Kernels* Avx2Sha64Kernels() {
  static constexpr Sha64Kernels kAvx2 = {Blocks};
  const CpuFeatures& cpu = ProcessorFeatures();
#if defined(__x86_64__)
  return cpu.avx2 && cpu.bmi1 && cpu.bmi2 ? &kAvx2 : nullptr;
#else
  return cpu.avx2 ? &kAvx2 : nullptr;
#endif
}

}  // namespace quillet

#else

namespace quillet {

const Sha64Kernels* Avx2Sha64Kernels() {
  return nullptr;
}

}  // namespace quillet

#endif
