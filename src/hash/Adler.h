// Adler-32 (RFC 1950).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "hash/Kernels.h"

namespace quillet {

void AdlerInit(uint32_t& adler);
void AdlerUpdate(uint32_t& adler, const uint8_t* data, size_t length);
// Replaces hex with the checksum, most significant digit first.
void AdlerFinal(uint32_t& adler, std::string& hex);

// One implementation of the update: folds length bytes into the register
// (s2 in the high half, s1 in the low, both reduced).
struct AdlerKernels {
  void (*update)(uint32_t& adler, const uint8_t* data, size_t length);
};

const AdlerKernels& PortableAdlerKernels();
// True when candidate leaves the portable kernel's register on the self-test
// input, cut at many lengths and alignments, and on long runs of 0xFF bytes,
// which drive both sums to their largest values between reductions.
bool AdlerSelfTest(const AdlerKernels& candidate);
const KernelChoice<AdlerKernels>& ChosenAdlerKernels();

// The sums of RFC 1950 are taken modulo this prime.
inline constexpr uint32_t kAdlerModulus = 65521;

}  // namespace quillet
