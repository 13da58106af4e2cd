// SHA-512 block transforms with the message schedule in vector registers,
// for the processors that have them; SHA.cpp decides whether they are used.
#pragma once

#include "hash/SHA.h"

namespace quillet {

// On x86 with AVX2 (and on 64-bit x86 BMI1 and BMI2): the schedules of two
// blocks at a time in 256-bit registers, the rounds in general registers
// with rorx and andn on 64-bit x86, in 128-bit registers on 32-bit x86. Null
// elsewhere.
const Sha64Kernels* Avx2Sha64Kernels();
// The same on x86 with AVX-512 F, VL and BW and the system's ZMM state (and
// AVX2, and on 64-bit x86 BMI1 and BMI2), its rotations and three-way XORs
// one instruction each. Null elsewhere.
const Sha64Kernels* Avx512Sha64Kernels();
// On 32-bit x86 with SSSE3: schedule and rounds in 128-bit registers. Null
// elsewhere.
const Sha64Kernels* Ssse3Sha64Kernels();

}  // namespace quillet
