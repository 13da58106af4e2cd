// CRC-32 on PCLMULQDQ: four 16-byte blocks in flight, so that the
// multiplications of one block overlap those of the next three.
#include "hash/CRC_x86.h"

#include "hash/CpuFeatures.h"

#if defined(__i386__) || defined(__x86_64__)

#define QUILLET_PCLMUL_ENTRY __attribute__((target("pclmul,sse4.1,ssse3"))) QUILLET_VECTOR_ENTRY

namespace quillet {
namespace {

using namespace crc_x86;

// Below this the tables are as fast: the folds need a few blocks to pay off.
constexpr size_t kFoldMinimum = 64;

QUILLET_PCLMUL_ENTRY void MsbFirst(uint32_t& crc, const uint8_t* data, size_t length) {
  if (length < kFoldMinimum) return PortableCrcKernels().msbFirst(crc, data, length);
  const __m128i reversal = ByteReversal(), by512 = Pair(kMsbFirstFold<512>),
                by128 = Pair(kMsbFirstFold<128>);
  // The register is XORed onto the first 32 message bits and carried along
  // with them.
  __m128i x0 = _mm_xor_si128(_mm_shuffle_epi8(LoadBlock(data), reversal),
                             _mm_set_epi32(static_cast<int>(crc), 0, 0, 0));
  __m128i x1 = _mm_shuffle_epi8(LoadBlock(data + 16), reversal);
  __m128i x2 = _mm_shuffle_epi8(LoadBlock(data + 32), reversal);
  __m128i x3 = _mm_shuffle_epi8(LoadBlock(data + 48), reversal);
  for (data += 64, length -= 64; length >= 64; data += 64, length -= 64) {
    x0 = FoldInto(x0, by512, _mm_shuffle_epi8(LoadBlock(data), reversal));
    x1 = FoldInto(x1, by512, _mm_shuffle_epi8(LoadBlock(data + 16), reversal));
    x2 = FoldInto(x2, by512, _mm_shuffle_epi8(LoadBlock(data + 32), reversal));
    x3 = FoldInto(x3, by512, _mm_shuffle_epi8(LoadBlock(data + 48), reversal));
  }
  const __m128i block = FoldInto(FoldInto(FoldInto(x0, by128, x1), by128, x2), by128, x3);
  crc = MsbFirstFinish(block, data, length);
  PortableCrcKernels().msbFirst(crc, data, length);
}

QUILLET_PCLMUL_ENTRY void Reflected(uint32_t& crc, const uint8_t* data, size_t length) {
  if (length < kFoldMinimum) return PortableCrcKernels().reflected(crc, data, length);
  const __m128i by512 = Pair(kReflectedFold<512>), by128 = Pair(kReflectedFold<128>);
  __m128i x0 = _mm_xor_si128(LoadBlock(data), _mm_cvtsi32_si128(static_cast<int>(crc)));
  __m128i x1 = LoadBlock(data + 16), x2 = LoadBlock(data + 32), x3 = LoadBlock(data + 48);
  for (data += 64, length -= 64; length >= 64; data += 64, length -= 64) {
    x0 = FoldInto(x0, by512, LoadBlock(data));
    x1 = FoldInto(x1, by512, LoadBlock(data + 16));
    x2 = FoldInto(x2, by512, LoadBlock(data + 32));
    x3 = FoldInto(x3, by512, LoadBlock(data + 48));
  }
  const __m128i block = FoldInto(FoldInto(FoldInto(x0, by128, x1), by128, x2), by128, x3);
  crc = ReflectedFinish(block, data, length);
  PortableCrcKernels().reflected(crc, data, length);
}

constexpr CrcKernels kPclmul = {MsbFirst, Reflected};

}  // namespace

const CrcKernels* PclmulCrcKernels() {
  const CpuFeatures& cpu = ProcessorFeatures();
  return cpu.pclmul && cpu.ssse3 && cpu.sse41 ? &kPclmul : nullptr;
}

}  // namespace quillet

#else

namespace quillet {

const CrcKernels* PclmulCrcKernels() {
  return nullptr;
}

}  // namespace quillet

#endif
