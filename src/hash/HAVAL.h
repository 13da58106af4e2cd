// HAVAL (version 1) with 3 to 5 passes and 128 to 256 output bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

struct HavalState {
  uint32_t fingerprint[8];
};

void HavalInit(HavalState& state);
void HavalUpdate(HavalState& state, const uint8_t* data, size_t length, int32_t passes);
// bits is 128, 160, 192, 224 or 256; replaces hex.
void HavalFinal(HavalState& state, int32_t passes, uint32_t bits, std::string& hex);

}  // namespace quillet
