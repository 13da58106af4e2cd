// GOST R 34.11-94 with the S-boxes of the test parameter set, 256 bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

// 256-bit values are four 64-bit words, least significant first.
struct GostState {
  uint64_t sum[4];      // control sum of the message blocks, modulo 2^256
  uint64_t hash[4];     // chaining value
  uint64_t length;      // message bits in processed blocks, modulo 2^64
  uint8_t partial[32];  // bytes not yet processed
  uint32_t partialCount;
};

void GostInit(GostState& state);
void GostUpdate(GostState& state, const uint8_t* data, size_t length);
// Replaces hex with the 64-digit result.
void GostFinal(GostState& state, std::string& hex);

}  // namespace quillet
