// Adler-32 on SSSE3: groups of 32 bytes in two 16-byte registers.
#include "hash/Adler_x86.h"
#include "hash/CpuFeatures.h"

#if defined(__i386__) || defined(__x86_64__)

#include <immintrin.h>

#include <algorithm>

#define QUILLET_SSSE3 __attribute__((target("ssse3")))
#define QUILLET_SSSE3_ENTRY QUILLET_SSSE3 QUILLET_VECTOR_ENTRY

namespace quillet {
namespace {

constexpr size_t kGroup = 32;

QUILLET_SSSE3 inline uint64_t LaneTotal(__m128i lanes) {
  alignas(16) uint32_t words[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(words), lanes);
  return uint64_t{words[0]} + words[1] + words[2] + words[3];
}

QUILLET_SSSE3_ENTRY void Update(uint32_t& adler, const uint8_t* data, size_t length) {
  uint32_t s1 = adler & 0xFFFF, s2 = adler >> 16;
  // The weights of bytes 0 to 15 of a group (32 down to 17) and of bytes 16
  // to 31 (16 down to 1); the set order names the last byte first.
  const __m128i early =
      _mm_set_epi8(17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32);
  const __m128i late = _mm_set_epi8(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
  const __m128i ones = _mm_set1_epi16(1), zero = _mm_setzero_si128();
  while (length >= kGroup) {
    const size_t groups = std::min(length / kGroup, kAdlerGroupsPerChunk);
    __m128i sums = zero, before = zero, weightedEarly = zero, weightedLate = zero;
    for (size_t g = 0; g < groups; ++g, data += kGroup) {
      const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
      const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16));
      before = _mm_add_epi32(before, sums);
      sums = _mm_add_epi32(sums, _mm_add_epi32(_mm_sad_epu8(a, zero), _mm_sad_epu8(b, zero)));
      weightedEarly =
          _mm_add_epi32(weightedEarly, _mm_madd_epi16(_mm_maddubs_epi16(a, early), ones));
      weightedLate = _mm_add_epi32(weightedLate, _mm_madd_epi16(_mm_maddubs_epi16(b, late), ones));
    }
    length -= groups * kGroup;
    AdlerAddChunk(s1, s2, groups * kGroup, kGroup, LaneTotal(sums), LaneTotal(before),
                  LaneTotal(weightedEarly) + LaneTotal(weightedLate));
  }
  adler = s2 << 16 | s1;
  PortableAdlerKernels().update(adler, data, length);
}

constexpr AdlerKernels kSsse3 = {Update};

}  // namespace

const AdlerKernels* Ssse3AdlerKernels() {
  return ProcessorFeatures().ssse3 ? &kSsse3 : nullptr;
}

}  // namespace quillet

#else

namespace quillet {

const AdlerKernels* Ssse3AdlerKernels() {
  return nullptr;
}

}  // namespace quillet

#endif
