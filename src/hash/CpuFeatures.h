// What the processor offers the hash families' accelerated kernels, asked
// once. A feature counts only when the operating system also saves the
// registers it needs (the wide vector registers of AVX and AVX-512).
#pragma once

namespace quillet {

struct CpuFeatures {
  bool sse2 = false;
  bool ssse3 = false;
  bool sse41 = false;
  bool pclmul = false;   // carry-less multiplication of 64-bit words
  bool avx2 = false;     // with AVX and the operating system's AVX state
  bool bmi1 = false;     // andn among others
  bool bmi2 = false;     // rorx among others
  bool sha = false;      // the SHA-1 and SHA-256 instructions
  bool vpclmul = false;  // carry-less multiplication on 256-bit registers (with AVX2)
  bool avx512 = false;   // AVX-512 F, VL and BW, with the operating system's ZMM state
};

// All false on processors other than x86.
const CpuFeatures& ProcessorFeatures();

}  // namespace quillet
