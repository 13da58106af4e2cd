// GOST R 34.11-94 with the test parameter set, 256 bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

struct GostState {
  uint32_t hash[8];
};

void GostInit(GostState& state);
void GostUpdate(GostState& state, const uint8_t* data, size_t length);
// Replaces hex with the 64-digit result.
void GostFinal(GostState& state, std::string& hex);

}  // namespace quillet
