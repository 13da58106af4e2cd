// CPUID and XGETBV, read once.
#include "hash/CpuFeatures.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

namespace quillet {
namespace {

#if defined(__i386__) || defined(__x86_64__)

// XCR0 bits 1 and 2: the system saves the SSE and the AVX register state.
constexpr unsigned kAvxState = 0x6;
// XCR0 bits 5 to 7 as well: the opmask registers, the upper halves of the
// first sixteen ZMM registers and (on 64-bit x86) the other sixteen.
constexpr unsigned kAvx512State = kAvxState | 0xE0;

unsigned ExtendedControlRegister0() {
  unsigned low = 0, high = 0;
  __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return low;
}

CpuFeatures Ask() {
  CpuFeatures features;
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return features;
  features.sse2 = (edx & bit_SSE2) != 0;
  features.ssse3 = (ecx & bit_SSSE3) != 0;
  features.sse41 = (ecx & bit_SSE4_1) != 0;
  features.pclmul = (ecx & bit_PCLMUL) != 0;
  const bool osxsave = (ecx & bit_AVX) != 0 && (ecx & bit_OSXSAVE) != 0;
  const unsigned xcr0 = osxsave ? ExtendedControlRegister0() : 0;
  const bool avx = (xcr0 & kAvxState) == kAvxState;
  if (__get_cpuid_max(0, nullptr) < 7) return features;
  __cpuid_count(7, 0, eax, ebx, ecx, edx);
  features.avx2 = avx && (ebx & bit_AVX2) != 0;
  features.bmi1 = (ebx & bit_BMI) != 0;
  features.bmi2 = (ebx & bit_BMI2) != 0;
  features.sha = (ebx & bit_SHA) != 0;
  features.vpclmul = features.avx2 && features.pclmul && (ecx & bit_VPCLMULQDQ) != 0;
  constexpr unsigned kAvx512Subsets = bit_AVX512F | bit_AVX512VL | bit_AVX512BW;
  features.avx512 =
      (xcr0 & kAvx512State) == kAvx512State && (ebx & kAvx512Subsets) == kAvx512Subsets;
  return features;
}

#else

CpuFeatures Ask() {
  return {};
}

#endif

}  // namespace

const CpuFeatures& ProcessorFeatures() {
  static const CpuFeatures features = Ask();
  return features;
}

}  // namespace quillet
