// Tiger (the 1996 definition, padding byte 0x01), 3 passes, 128/160/192 bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

struct TigerState {
  uint64_t a, b, c;
};

void TigerInit(TigerState& state);
void TigerUpdate(TigerState& state, const uint8_t* data, size_t length, int32_t passes);
// bits is 128, 160 or 192; appends nothing, replaces hex.
void TigerFinal(TigerState& state, uint32_t bits, int32_t passes, std::string& hex);

}  // namespace quillet
