// HAVAL (version 1) with 3 to 5 passes and 128 to 256 output bits, padded with
// 0x80 where the published HAVAL pads with 0x01.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

struct HavalState {
  uint64_t count;           // message bits, modulo 2^64
  uint32_t fingerprint[8];  // chaining value
  uint8_t block[128];       // the incomplete block, (count / 8) % 128 bytes
};

void HavalInit(HavalState& state);
// passes outside 3 to 5 are clamped to that range, here and in the finalisations.
void HavalUpdate(HavalState& state, const uint8_t* data, size_t length, int32_t passes);
// bits is 128, 160, 192, 224 or 256; replaces hex, clears the state.
void HavalFinal(HavalState& state, int32_t passes, uint32_t bits, std::string& hex);
// HavalFinal with padding as its first padding byte: 0x80 gives this system's
// values, 0x01 the published HAVAL values.
void HavalFinalPadded(HavalState& state, int32_t passes, uint32_t bits, uint8_t padding,
                      std::string& hex);

}  // namespace quillet
