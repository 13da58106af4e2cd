// RIPEMD-128 and RIPEMD-160; the output size (128 or 160) picks the
// compression function.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

struct RipemdState {
  uint32_t h[5];   // RIPEMD-128 uses the first four
  uint64_t bytes;  // 64 bits wide: inputs of 4 GiB and more keep their true length
  size_t fill;
  uint8_t buffer[64];
};

// bits is 128 or 160 throughout.
void RipemdInit(RipemdState& state, uint32_t bits);
void RipemdUpdate(RipemdState& state, const uint8_t* data, size_t length, uint32_t bits);
void RipemdFinal(RipemdState& state, uint32_t bits, std::string& hex);

}  // namespace quillet
