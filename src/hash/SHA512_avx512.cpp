// SHA-512 on AVX-512: the AVX2 kernel of SHA512_avx2.h compiled with
// AVX-512 F and VL, whose rotations (vprorq, vprorvq) take one instruction
// where AVX2 takes two shifts and an OR, and whose ternary logic makes a
// three-way XOR in one. In the message schedule that is eight instructions
// fewer for every four words, in the 32-bit rounds' Sigma functions six
// fewer a round; on 64-bit x86 the compiler may also keep more of the
// schedule in the sixteen further vector registers.
#include "hash/SHA512_x86.h"

#include "hash/CpuFeatures.h"

#if defined(__x86_64__) || defined(__i386__)

#include <immintrin.h>

// Every function from here to the end of the kernel is compiled for AVX-512
// F and VL (GCC's target pragma; clang's attribute pragma does the same).
#if defined(__x86_64__) && defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f,avx512vl,avx2,bmi,bmi2"))), \
                             apply_to = function)
#elif defined(__x86_64__)
#pragma GCC push_options
#pragma GCC target("avx512f,avx512vl,avx2,bmi,bmi2")
#elif defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f,avx512vl,avx2"))), apply_to = function)
#include "hash/SHA512_pairs.h"
#else
#pragma GCC push_options
#pragma GCC target("avx512f,avx512vl,avx2")
// Scheduling before register allocation, minding register pressure: 32-bit
// x86 has eight vector registers.
#pragma GCC optimize("schedule-insns", "sched-pressure")
#include "hash/SHA512_pairs.h"
#endif

namespace quillet {
namespace {

// The truth table of x ^ y ^ z for the ternary-logic instruction.
constexpr int kXor3 = 0x96;

// The lane operations of SHA512_avx2.h on AVX-512 VL.
struct Lanes {
  template <int n>
  __attribute__((always_inline)) static __m256i Rotate(__m256i x) {
    return _mm256_ror_epi64(x, n);
  }
  __attribute__((always_inline)) static __m256i Xor3(__m256i x, __m256i y, __m256i z) {
    return _mm256_ternarylogic_epi64(x, y, z, kXor3);
  }
#if defined(__i386__)
  __attribute__((always_inline)) static __m128i Rotate(__m128i x, int low, int high) {
    return _mm_rorv_epi64(x, _mm_set_epi64x(high, low));
  }
  __attribute__((always_inline)) static __m128i Xor3(__m128i x, __m128i y, __m128i z) {
    return _mm_ternarylogic_epi64(x, y, z, kXor3);
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

const Sha64Kernels* Avx512Sha64Kernels() {
  static constexpr Sha64Kernels kAvx512 = {Blocks};
  const CpuFeatures& cpu = ProcessorFeatures();
#if defined(__x86_64__)
  return cpu.avx512 && cpu.avx2 && cpu.bmi1 && cpu.bmi2 ? &kAvx512 : nullptr;
#else
  return cpu.avx512 && cpu.avx2 ? &kAvx512 : nullptr;
#endif
}

}  // namespace quillet

#else

namespace quillet {

const Sha64Kernels* Avx512Sha64Kernels() {
  return nullptr;
}

}  // namespace quillet

#endif
