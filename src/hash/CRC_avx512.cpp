// CRC-32 on VPCLMULQDQ with AVX-512: four 64-byte registers in flight, each
// holding four consecutive 16-byte blocks that fold alike; at the end the
// registers fold into one, its four blocks into one block, and the 128-bit
// steps of CRC_x86.h finish the work.
//
// On 32-bit x86 the processor has eight vector registers, not thirty-two:
// the four accumulators, the fold constant, the byte reversal of the
// MSB-first order and the block being loaded take seven, so no more
// accumulators could be kept in flight there; on 64-bit x86 four already
// leave the multiplier's throughput as the only limit.
#include "hash/CRC_x86.h"

#include "hash/CpuFeatures.h"

#if defined(__i386__) || defined(__x86_64__)

#define QUILLET_AVX512 \
  __attribute__((target("avx512f,avx512vl,avx512bw,vpclmulqdq,avx2,pclmul,sse4.1,ssse3")))
#define QUILLET_AVX512_INLINE QUILLET_AVX512 __attribute__((always_inline)) inline
#define QUILLET_AVX512_ENTRY QUILLET_AVX512 QUILLET_VECTOR_ENTRY

namespace quillet {
namespace {

using namespace crc_x86;

constexpr size_t kRegisterBytes = 64;
// Four registers in flight: each fold waits for its multiplications, and
// with four the loop is held up by the multiplier's throughput alone (eight
// were measured no faster); four also fit the eight registers of 32-bit x86.
constexpr size_t kGroupBytes = 4 * kRegisterBytes;

// The truth table of a ^ b ^ c for the ternary-logic instruction.
constexpr int kXor3 = 0x96;

// Some of GCC 12's plain AVX-512 intrinsics (the broadcasts and extractions)
// pass an undefined vector as the source of the lanes they leave alone and
// then warn that it may be uninitialised; the constants are therefore set
// lane by lane here, and the halves taken with zeroing masks.

// The same 128 bits, low and high half, in all four lanes.
QUILLET_AVX512_INLINE __m512i Lanes(uint64_t low, uint64_t high) {
  const auto l = static_cast<long long>(low), h = static_cast<long long>(high);
  return _mm512_set_epi64(h, l, h, l, h, l, h, l);
}

QUILLET_AVX512_INLINE __m512i Widest(Fold fold) {
  return Lanes(fold.low, fold.high);
}

// All four 64-bit lanes of a half kept.
constexpr __mmask8 kAllOfHalf = 0xF;
template <int kHalf>
QUILLET_AVX512_INLINE __m256i Half(__m512i z) {
  return _mm512_maskz_extracti64x4_epi64(kAllOfHalf, z, kHalf);
}

// blocks moved forward by the distance of k, plus next, in one three-way XOR.
QUILLET_AVX512_INLINE __m512i FoldWidest(__m512i blocks, __m512i k, __m512i next) {
  return _mm512_ternarylogic_epi64(_mm512_clmulepi64_epi128(blocks, k, 0x00),
                                   _mm512_clmulepi64_epi128(blocks, k, 0x11), next, kXor3);
}

// Four blocks of one order in its working form: byte-reversed for MSB first.
template <bool kMsbFirst>
QUILLET_AVX512_INLINE __m512i Load(const uint8_t* bytes) {
  const __m512i blocks = _mm512_loadu_si512(bytes);
  if constexpr (kMsbFirst)
    return _mm512_shuffle_epi8(blocks, Lanes(0x08090a0b0c0d0e0f, 0x0001020304050607));
  else
    return blocks;
}

// Folds the whole 256-byte groups of data (which the caller advances past
// them) into one register; first holds the first four blocks with the
// register of the checksum already XORed on.
template <bool kMsbFirst>
QUILLET_AVX512_INLINE __m512i FoldGroups(__m512i first, const uint8_t*& data, size_t& length) {
  __m512i z0 = first, z1 = Load<kMsbFirst>(data + kRegisterBytes),
          z2 = Load<kMsbFirst>(data + 2 * kRegisterBytes),
          z3 = Load<kMsbFirst>(data + 3 * kRegisterBytes);
  const __m512i byGroup = Widest(kFold<kMsbFirst, 8 * kGroupBytes>);
  for (data += kGroupBytes, length -= kGroupBytes; length >= kGroupBytes;
       data += kGroupBytes, length -= kGroupBytes) {
    z0 = FoldWidest(z0, byGroup, Load<kMsbFirst>(data));
    z1 = FoldWidest(z1, byGroup, Load<kMsbFirst>(data + kRegisterBytes));
    z2 = FoldWidest(z2, byGroup, Load<kMsbFirst>(data + 2 * kRegisterBytes));
    z3 = FoldWidest(z3, byGroup, Load<kMsbFirst>(data + 3 * kRegisterBytes));
  }
  // The registers move onto the last each by its own distance, so that
  // their multiplications run side by side, not one after the other.
  return FoldWidest(
      z2, Widest(kFold<kMsbFirst, 8 * kRegisterBytes>),
      FoldWidest(z1, Widest(kFold<kMsbFirst, 2 * 8 * kRegisterBytes>),
                 FoldWidest(z0, Widest(kFold<kMsbFirst, 3 * 8 * kRegisterBytes>), z3)));
}

// Folds the whole 64-byte registers of data (at least one; the caller
// advances past them) into one 16-byte block, the checksum's register
// carried along with the first 32 message bits.
template <bool kMsbFirst>
QUILLET_AVX512_INLINE __m128i FoldRegisters(uint32_t crc, const uint8_t*& data, size_t& length) {
  const int reg = static_cast<int>(crc);
  // The first message bits are the top of the first block in MSB-first
  // order, its bottom in the reflected order.
  const __m128i start = kMsbFirst ? _mm_set_epi32(reg, 0, 0, 0) : _mm_cvtsi32_si128(reg);
  __m512i y = _mm512_xor_si512(Load<kMsbFirst>(data), _mm512_zextsi128_si512(start));
  if (length >= kGroupBytes) {
    y = FoldGroups<kMsbFirst>(y, data, length);
  } else {
    data += kRegisterBytes;
    length -= kRegisterBytes;
  }
  const __m512i byRegister = Widest(kFold<kMsbFirst, 8 * kRegisterBytes>);
  for (; length >= kRegisterBytes; data += kRegisterBytes, length -= kRegisterBytes)
    y = FoldWidest(y, byRegister, Load<kMsbFirst>(data));
  // The first three blocks move 384, 256 and 128 bits onto the last, all at
  // once; the last block stays as it is.
  constexpr Fold by384 = kFold<kMsbFirst, 384>, by256 = kFold<kMsbFirst, 256>,
                 by128 = kFold<kMsbFirst, 128>;
  const __m512i spread =
      _mm512_set_epi64(0, 0, static_cast<long long>(by128.high), static_cast<long long>(by128.low),
                       static_cast<long long>(by256.high), static_cast<long long>(by256.low),
                       static_cast<long long>(by384.high), static_cast<long long>(by384.low));
  constexpr __mmask8 kLastBlock = 0xC0;
  const __m512i moved =
      _mm512_mask_mov_epi64(_mm512_xor_si512(_mm512_clmulepi64_epi128(y, spread, 0x00),
                                             _mm512_clmulepi64_epi128(y, spread, 0x11)),
                            kLastBlock, y);
  const __m256i halves = _mm256_xor_si256(Half<0>(moved), Half<1>(moved));
  return _mm_xor_si128(_mm256_castsi256_si128(halves), _mm256_extracti128_si256(halves, 1));
}

QUILLET_AVX512_ENTRY void MsbFirst(uint32_t& crc, const uint8_t* data, size_t length) {
  if (length >= kRegisterBytes)
    crc = MsbFirstFinish(FoldRegisters<true>(crc, data, length), data, length);
  if (length > 0) PortableCrcKernels().msbFirst(crc, data, length);
}

QUILLET_AVX512_ENTRY void Reflected(uint32_t& crc, const uint8_t* data, size_t length) {
  if (length >= kRegisterBytes)
    crc = ReflectedFinish(FoldRegisters<false>(crc, data, length), data, length);
  if (length > 0) PortableCrcKernels().reflected(crc, data, length);
}

constexpr CrcKernels kAvx512 = {MsbFirst, Reflected};

}  // namespace

const CrcKernels* Avx512CrcKernels() {
  const CpuFeatures& cpu = ProcessorFeatures();
  return cpu.avx512 && cpu.vpclmul && PclmulCrcKernels() ? &kAvx512 : nullptr;
}

}  // namespace quillet

#else

namespace quillet {

const CrcKernels* Avx512CrcKernels() {
  return nullptr;
}

}  // namespace quillet

#endif
