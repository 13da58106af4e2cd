// Adler-32 on AVX2: groups of 64 bytes in two 32-byte registers.
#include "hash/Adler_x86.h"
#include "hash/CpuFeatures.h"

#if defined(__i386__) || defined(__x86_64__)

#include <immintrin.h>

#include <algorithm>

#define QUILLET_AVX2 __attribute__((target("avx2")))
#define QUILLET_AVX2_ENTRY QUILLET_AVX2 QUILLET_VECTOR_ENTRY

namespace quillet {
namespace {

constexpr size_t kGroup = 64;

QUILLET_AVX2 inline uint64_t LaneTotal(__m256i lanes) {
  alignas(32) uint32_t words[8];
  _mm256_store_si256(reinterpret_cast<__m256i*>(words), lanes);
  uint64_t total = 0;
  for (uint32_t word : words) total += word;
  return total;
}

QUILLET_AVX2_ENTRY void Update(uint32_t& adler, const uint8_t* data, size_t length) {
  uint32_t s1 = adler & 0xFFFF, s2 = adler >> 16;
  // The weights of bytes 0 to 31 of a group (64 down to 33) and of bytes 32
  // to 63 (32 down to 1); the set order names the last byte first.
  const __m256i early =
      _mm256_set_epi8(33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51,
                      52, 53, 54, 55, 56, 57, 58, 59, 60, 61, 62, 63, 64);
  const __m256i late = _mm256_set_epi8(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17,
                                       18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32);
  const __m256i ones = _mm256_set1_epi16(1), zero = _mm256_setzero_si256();
  while (length >= kGroup) {
    const size_t groups = std::min(length / kGroup, kAdlerGroupsPerChunk);
    __m256i sums = zero, before = zero, weightedEarly = zero, weightedLate = zero;
    for (size_t g = 0; g < groups; ++g, data += kGroup) {
      const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data));
      const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(data + 32));
      before = _mm256_add_epi32(before, sums);
      sums = _mm256_add_epi32(sums,
                              _mm256_add_epi32(_mm256_sad_epu8(a, zero), _mm256_sad_epu8(b, zero)));
      weightedEarly =
          _mm256_add_epi32(weightedEarly, _mm256_madd_epi16(_mm256_maddubs_epi16(a, early), ones));
      weightedLate =
          _mm256_add_epi32(weightedLate, _mm256_madd_epi16(_mm256_maddubs_epi16(b, late), ones));
    }
    length -= groups * kGroup;
    AdlerAddChunk(s1, s2, groups * kGroup, kGroup, LaneTotal(sums), LaneTotal(before),
                  LaneTotal(weightedEarly) + LaneTotal(weightedLate));
  }
  adler = s2 << 16 | s1;
  PortableAdlerKernels().update(adler, data, length);
}

constexpr AdlerKernels kAvx2 = {Update};

}  // namespace

const AdlerKernels* Avx2AdlerKernels() {
  return ProcessorFeatures().avx2 ? &kAvx2 : nullptr;
}

}  // namespace quillet

#else

namespace quillet {

const AdlerKernels* Avx2AdlerKernels() {
  return nullptr;
}

}  // namespace quillet

#endif
