// CRC-32 by carry-less multiplication on x86 (after Gopal et al., "Fast CRC
// Computation for Generic Polynomials Using PCLMULQDQ Instruction", Intel,
// 2009): blocks of 16 bytes are folded forward over the data by multiplying
// their halves with x^n mod P, and the last block is brought down to 32 bits
// by two more folds and a Barrett reduction. The MSB-first order works on
// byte-reversed blocks, whose bits are the polynomial's coefficients as they
// stand; the reflected order on blocks as loaded, with its constants bit-
// reversed. CRC.cpp decides whether these kernels are used.
#pragma once

#include "hash/CRC.h"

namespace quillet {

// The kernels on 128-bit registers (PCLMULQDQ with SSE4.1), on 256-bit ones
// (VPCLMULQDQ with AVX2) and on 512-bit ones (VPCLMULQDQ with AVX-512), or
// null when the processor lacks them.
const CrcKernels* PclmulCrcKernels();
const CrcKernels* VpclmulCrcKernels();
const CrcKernels* Avx512CrcKernels();

}  // namespace quillet

#if defined(__i386__) || defined(__x86_64__)

#include <immintrin.h>

#define QUILLET_CRC_PCLMUL __attribute__((target("pclmul,sse4.1,ssse3"), always_inline)) inline

namespace quillet::crc_x86 {

constexpr uint32_t kPolynomial = 0x04C11DB7;

// x^n mod P, bit d holding the coefficient of x^d.
constexpr uint64_t XPowMod(unsigned n) {
  uint32_t r = 1;
  for (; n > 0; --n) r = (r & 0x80000000u) ? (r << 1) ^ kPolynomial : r << 1;
  return r;
}

// floor(x^64 / P), 33 bits: long division one quotient bit at a time, with a
// window on the 33 coefficients of the remainder that the next step reads.
constexpr uint64_t BarrettQuotient() {
  constexpr uint64_t kP = (uint64_t{1} << 32) | kPolynomial;
  uint64_t window = uint64_t{1} << 32, quotient = 0;
  for (int bit = 32; bit >= 0; --bit) {
    if (window >> 32) {
      quotient |= uint64_t{1} << bit;
      window ^= kP;
    }
    window <<= 1;
  }
  return quotient;
}

// The reflected kernels multiply by constants with their low 33 bits
// reversed (bit d to bit 32 - d); blocks loaded as they are hold coefficient
// x^(127 - i) in bit i, and the product of two such halves gains a factor x.
constexpr uint64_t Reflect33(uint64_t value) {
  uint64_t reflected = 0;
  for (int bit = 0; bit <= 32; ++bit)
    if (value >> bit & 1) reflected |= uint64_t{1} << (32 - bit);
  return reflected;
}
// The same for a constant of degree below 32 that multiplies the upper half
// of a 64-bit word: coefficient d in bit 63 - d.
constexpr uint64_t ReflectHigh(uint64_t value) {
  return Reflect33(value) << 31;
}

static_assert(BarrettQuotient() == 0x104D101DFull);
static_assert(Reflect33((uint64_t{1} << 32) | kPolynomial) == 0x1DB710641ull);

// Fold constants for moving a 128-bit block forward by n bits, as a pair
// {for the low half, for the high half}.
struct Fold {
  uint64_t low, high;
};
// MSB first: the high half stands n + 64 bits before its target, the low half n.
template <unsigned n>
inline constexpr Fold kMsbFirstFold = {XPowMod(n), XPowMod(n + 64)};
// Reflected: the low half holds the earlier bits.
template <unsigned n>
inline constexpr Fold kReflectedFold = {Reflect33(XPowMod(n + 32)), Reflect33(XPowMod(n - 32))};
// Both orders, by the MSB-first flag.
template <bool kMsbFirst, unsigned n>
inline constexpr Fold kFold = kMsbFirst ? kMsbFirstFold<n> : kReflectedFold<n>;

// The constants of the final reduction, each used once.
inline constexpr uint64_t kX96 = XPowMod(96), kX64 = XPowMod(64);
inline constexpr uint64_t kReflectedX95 = ReflectHigh(XPowMod(95)),
                          kReflectedX63 = ReflectHigh(XPowMod(63));
inline constexpr uint64_t kP33 = (uint64_t{1} << 32) | kPolynomial, kMu = BarrettQuotient();
inline constexpr uint64_t kReflectedP33 = Reflect33(kP33), kReflectedMu = Reflect33(kMu);

QUILLET_CRC_PCLMUL __m128i Pair(Fold fold) {
  return _mm_set_epi64x(static_cast<long long>(fold.high), static_cast<long long>(fold.low));
}

// block moved forward by the distance of k, plus next.
QUILLET_CRC_PCLMUL __m128i FoldInto(__m128i block, __m128i k, __m128i next) {
  return _mm_xor_si128(
      _mm_xor_si128(_mm_clmulepi64_si128(block, k, 0x00), _mm_clmulepi64_si128(block, k, 0x11)),
      next);
}

// The block order the MSB-first kernels work in: all sixteen bytes reversed.
QUILLET_CRC_PCLMUL __m128i ByteReversal() {
  return _mm_set_epi64x(0x0001020304050607LL, 0x08090a0b0c0d0e0fLL);
}

QUILLET_CRC_PCLMUL __m128i LoadBlock(const uint8_t* bytes) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}

// Folds the block over the whole 16-byte groups of data (which the caller
// advances past them) and reduces it to the register.
QUILLET_CRC_PCLMUL uint32_t MsbFirstFinish(__m128i block, const uint8_t*& data, size_t& length) {
  const __m128i by128 = Pair(kMsbFirstFold<128>), reversal = ByteReversal();
  for (; length >= 16; data += 16, length -= 16)
    block = FoldInto(block, by128, _mm_shuffle_epi8(LoadBlock(data), reversal));
  // The register is block * x^32 mod P. The high half moves onto the low
  // half shifted by 32 bits, 96 bits in all; then its top 32 bits move onto
  // the remaining 64; then Barrett: q = floor(top32(w) * mu / x^32) and
  // w - q * P is the remainder.
  const __m128i upper =
      _mm_clmulepi64_si128(block, _mm_set_epi64x(0, static_cast<long long>(kX96)), 0x01);
  const __m128i v = _mm_xor_si128(upper, _mm_slli_si128(_mm_move_epi64(block), 4));
  const __m128i top = _mm_srli_si128(v, 8);
  const __m128i w = _mm_xor_si128(
      _mm_clmulepi64_si128(top, _mm_set_epi64x(0, static_cast<long long>(kX64)), 0x00),
      _mm_move_epi64(v));
  const __m128i barrett = _mm_set_epi64x(static_cast<long long>(kP33), static_cast<long long>(kMu));
  const __m128i q = _mm_srli_epi64(_mm_clmulepi64_si128(_mm_srli_epi64(w, 32), barrett, 0x00), 32);
  const __m128i remainder = _mm_xor_si128(w, _mm_clmulepi64_si128(q, barrett, 0x10));
  return static_cast<uint32_t>(_mm_cvtsi128_si32(remainder));
}

QUILLET_CRC_PCLMUL uint32_t ReflectedFinish(__m128i block, const uint8_t*& data, size_t& length) {
  const __m128i by128 = Pair(kReflectedFold<128>);
  for (; length >= 16; data += 16, length -= 16) block = FoldInto(block, by128, LoadBlock(data));
  // The same steps as MsbFirstFinish with the bit order reversed: the low
  // half (the earlier bits) moves onto the high half, into bits 32 to 127;
  // bits 32 to 63 then move onto bits 64 to 127, which hold w; Barrett works
  // on w's earlier 32 bits and leaves the remainder in its later ones.
  const __m128i upper =
      _mm_clmulepi64_si128(block, _mm_set_epi64x(0, static_cast<long long>(kReflectedX95)), 0x00);
  const __m128i v = _mm_xor_si128(upper, _mm_slli_si128(_mm_srli_si128(block, 8), 4));
  const __m128i w = _mm_xor_si128(
      _mm_clmulepi64_si128(_mm_and_si128(v, _mm_set_epi32(0, 0, -1, 0)),
                           _mm_set_epi64x(0, static_cast<long long>(kReflectedX63)), 0x00),
      v);
  const __m128i low32 = _mm_set_epi32(0, 0, 0, -1);
  const __m128i barrett =
      _mm_set_epi64x(static_cast<long long>(kReflectedP33), static_cast<long long>(kReflectedMu));
  const __m128i wEarly = _mm_and_si128(_mm_srli_si128(w, 8), low32);
  const __m128i q = _mm_and_si128(_mm_clmulepi64_si128(wEarly, barrett, 0x00), low32);
  const __m128i remainder =
      _mm_xor_si128(_mm_srli_si128(w, 8), _mm_clmulepi64_si128(q, barrett, 0x10));
  return static_cast<uint32_t>(_mm_extract_epi32(remainder, 1));
}

}  // namespace quillet::crc_x86

#endif
