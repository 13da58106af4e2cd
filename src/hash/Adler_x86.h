// Adler-32 on x86 vector registers. For a group of n bytes b[0..n-1] the
// sums advance by s1' = s1 + sum(b[i]) and s2' = s2 + n * s1 + sum((n - i) *
// b[i]): the byte sums come from sums of absolute differences against zero,
// the weighted ones from multiply-adds with the weights n down to 1, and the
// n * s1 terms from a running total of the byte sums before each group. All
// three stay in 32-bit lanes for as many groups as cannot overflow them, and
// are reduced modulo 65521 only then. Adler.cpp decides whether these
// kernels are used.
#pragma once

#include "hash/Adler.h"

namespace quillet {

// The kernels on 128-bit registers (SSSE3) and on 256-bit ones (AVX2), or
// null when the processor lacks them.
const AdlerKernels* Ssse3AdlerKernels();
const AdlerKernels* Avx2AdlerKernels();

// Groups a kernel sums before it reduces: a 32-bit lane of the running total
// of byte sums, at most 4080 * n * (n + 1) / 2 after n groups (two registers
// of 8-byte sums per group), must not overflow.
inline constexpr size_t kAdlerGroupsPerChunk = 1024;
static_assert(4080ull * kAdlerGroupsPerChunk * (kAdlerGroupsPerChunk + 1) / 2 < (1ull << 32));

// The sums after a chunk of groups of the given size: lane totals of the
// byte sums, of the running totals before each group and of the weighted
// sums, each below 2^32 per lane, combined in 64 bits.
inline void AdlerAddChunk(uint32_t& s1, uint32_t& s2, uint64_t bytes, uint64_t groupSize,
                          uint64_t sums, uint64_t before, uint64_t weighted) {
  s2 = static_cast<uint32_t>((s2 + bytes % kAdlerModulus * s1 + groupSize * before + weighted) %
                             kAdlerModulus);
  s1 = static_cast<uint32_t>((s1 + sums) % kAdlerModulus);
}

}  // namespace quillet
