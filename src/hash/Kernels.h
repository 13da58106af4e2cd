// How a family with accelerated kernels picks the ones it uses: its variants
// are listed best first, and the first that the processor has and that
// agrees with the portable kernels on the self-test input is used for good.
// A variant that disagrees would give wrong results silently; it is passed
// over, and so the portable kernels are always there to fall back on.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The kernels' entry points realign the stack on 32-bit x86, where a caller
// built by another compiler promises only 4-byte alignment and the vector
// spills would fault.
#if defined(__i386__)
#define QUILLET_VECTOR_ENTRY __attribute__((force_align_arg_pointer))
#else
#define QUILLET_VECTOR_ENTRY
#endif

namespace quillet {

// kernels is null when the processor lacks the variant's instructions.
template <class Kernels>
struct KernelVariant {
  const char* name;
  const Kernels* (*kernels)();
};

template <class Kernels>
struct KernelChoice {
  const Kernels* kernels;
  const char* name;  // "portable" or the variant's
  bool passedOver;   // a variant the processor has failed its self-test
};

template <class Kernels, size_t N>
KernelChoice<Kernels> ChooseKernels(const Kernels& portable,
                                    const std::array<KernelVariant<Kernels>, N>& variants,
                                    bool (*agrees)(const Kernels& candidate)) {
  bool passedOver = false;
  for (const KernelVariant<Kernels>& variant : variants) {
    const Kernels* candidate = variant.kernels();
    if (!candidate) continue;
    if (agrees(*candidate)) return {candidate, variant.name, passedOver};
    passedOver = true;
  }
  return {&portable, "portable", passedOver};
}

// Self-test input: varied bytes from a fixed linear congruential sequence,
// long enough for every kernel's widest loop to run several times.
inline constexpr size_t kSelfTestBytes = 2048;
inline constexpr auto kSelfTestData = [] {
  std::array<uint8_t, kSelfTestBytes> bytes{};
  uint32_t x = 0x9E3779B9;
  for (uint8_t& byte : bytes) {
    x = x * 1664525 + 1013904223;
    byte = static_cast<uint8_t>(x >> 24);
  }
  return bytes;
}();

}  // namespace quillet
