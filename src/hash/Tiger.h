// Tiger of Anderson and Biham (the 1996 definition, padding byte 0x01) with 3
// or more passes; the texts of 128 and 160 bits are prefixes of the 192-bit text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "hash/Kernels.h"

namespace quillet {

struct TigerState {
  uint64_t a, b, c;    // chaining words
  uint64_t length;     // message bytes fed so far, modulo 2^64
  size_t fill;         // bytes waiting in buffer, 0 to 63
  uint8_t buffer[64];  // the incomplete block
};

// One implementation of the compression: count whole 64-byte blocks into
// the chaining words a, b, c.
struct TigerKernels {
  void (*blocks)(uint64_t (&chain)[3], const uint8_t* blocks, size_t count, int32_t passes);
};

const TigerKernels& PortableTigerKernels();
// True when candidate leaves the portable chaining words after runs of
// blocks, with 3 passes and with more.
bool TigerSelfTest(const TigerKernels& candidate);
const KernelChoice<TigerKernels>& ChosenTigerKernels();

// The four S-boxes of the definition, one after the other.
using TigerSBoxes = uint64_t[4][256];
const TigerSBoxes& TigerTables();

void TigerInit(TigerState& state);
void TigerUpdate(TigerState& state, const uint8_t* data, size_t length, int32_t passes);
// bits is 128, 160 or 192; replaces hex with the hex numbers of the chaining
// words a, b, c, most significant digit first, cut to bits / 4 digits.
void TigerFinal(TigerState& state, uint32_t bits, int32_t passes, std::string& hex);

}  // namespace quillet
