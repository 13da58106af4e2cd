// CRC-32 on VPCLMULQDQ: four 32-byte registers in flight, each holding two
// consecutive 16-byte blocks that fold alike; at the end the registers fold
// into one block and the 128-bit steps of CRC_x86.h finish the work.
#include "hash/CRC_x86.h"

#include "hash/CpuFeatures.h"

#if defined(__i386__) || defined(__x86_64__)

#define QUILLET_VPCLMUL __attribute__((target("vpclmulqdq,avx2,pclmul,sse4.1,ssse3")))
#define QUILLET_VPCLMUL_INLINE QUILLET_VPCLMUL __attribute__((always_inline)) inline
#define QUILLET_VPCLMUL_ENTRY QUILLET_VPCLMUL QUILLET_VECTOR_ENTRY

namespace quillet {
namespace {

using namespace crc_x86;

// Below this the 128-bit kernel is as fast.
constexpr size_t kFoldMinimum = 256;

QUILLET_VPCLMUL_INLINE __m256i Wide(Fold fold) {
  return _mm256_broadcastsi128_si256(Pair(fold));
}

QUILLET_VPCLMUL_INLINE __m256i FoldWide(__m256i blocks, __m256i k, __m256i next) {
  return _mm256_xor_si256(_mm256_xor_si256(_mm256_clmulepi64_epi128(blocks, k, 0x00),
                                           _mm256_clmulepi64_epi128(blocks, k, 0x11)),
                          next);
}

QUILLET_VPCLMUL_INLINE __m256i LoadBlocks(const uint8_t* bytes) {
  return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
}

// The blocks of one order in its working form: byte-reversed for MSB first.
template <bool kMsbFirst>
QUILLET_VPCLMUL_INLINE __m256i Load(const uint8_t* bytes) {
  if constexpr (kMsbFirst)
    return _mm256_shuffle_epi8(LoadBlocks(bytes), _mm256_broadcastsi128_si256(ByteReversal()));
  else
    return LoadBlocks(bytes);
}

// Folds all whole 128-byte groups of data (which the caller advances past
// them) into one 16-byte block; first holds the first two blocks with the
// register already XORed on.
template <bool kMsbFirst>
QUILLET_VPCLMUL_INLINE __m128i FoldGroups(__m256i first, const uint8_t*& data, size_t& length) {
  __m256i y0 = first, y1 = Load<kMsbFirst>(data + 32), y2 = Load<kMsbFirst>(data + 64),
          y3 = Load<kMsbFirst>(data + 96);
  const __m256i by1024 = Wide(kFold<kMsbFirst, 1024>);
  for (data += 128, length -= 128; length >= 128; data += 128, length -= 128) {
    y0 = FoldWide(y0, by1024, Load<kMsbFirst>(data));
    y1 = FoldWide(y1, by1024, Load<kMsbFirst>(data + 32));
    y2 = FoldWide(y2, by1024, Load<kMsbFirst>(data + 64));
    y3 = FoldWide(y3, by1024, Load<kMsbFirst>(data + 96));
  }
  const __m256i by256 = Wide(kFold<kMsbFirst, 256>);
  const __m256i y = FoldWide(FoldWide(FoldWide(y0, by256, y1), by256, y2), by256, y3);
  return FoldInto(_mm256_castsi256_si128(y), _mm256_castsi256_si128(Wide(kFold<kMsbFirst, 128>)),
                  _mm256_extracti128_si256(y, 1));
}

QUILLET_VPCLMUL_ENTRY void MsbFirst(uint32_t& crc, const uint8_t* data, size_t length) {
  if (length < kFoldMinimum) return PclmulCrcKernels()->msbFirst(crc, data, length);
  // The register is XORed onto the first 32 message bits and carried along
  // with them.
  const __m256i first = _mm256_xor_si256(
      Load<true>(data), _mm256_set_epi32(0, 0, 0, 0, static_cast<int>(crc), 0, 0, 0));
  const __m128i block = FoldGroups<true>(first, data, length);
  crc = MsbFirstFinish(block, data, length);
  PortableCrcKernels().msbFirst(crc, data, length);
}

QUILLET_VPCLMUL_ENTRY void Reflected(uint32_t& crc, const uint8_t* data, size_t length) {
  if (length < kFoldMinimum) return PclmulCrcKernels()->reflected(crc, data, length);
  const __m256i first = _mm256_xor_si256(
      Load<false>(data), _mm256_set_epi32(0, 0, 0, 0, 0, 0, 0, static_cast<int>(crc)));
  const __m128i block = FoldGroups<false>(first, data, length);
  crc = ReflectedFinish(block, data, length);
  PortableCrcKernels().reflected(crc, data, length);
}

constexpr CrcKernels kVpclmul = {MsbFirst, Reflected};

}  // namespace

const CrcKernels* VpclmulCrcKernels() {
  const CpuFeatures& cpu = ProcessorFeatures();
  return cpu.vpclmul && PclmulCrcKernels() ? &kVpclmul : nullptr;
}

}  // namespace quillet

#else

namespace quillet {

const CrcKernels* VpclmulCrcKernels() {
  return nullptr;
}

}  // namespace quillet

#endif
