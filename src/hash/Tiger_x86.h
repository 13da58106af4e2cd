// Tiger's compression with its 64-bit words in SSE2 registers, for 32-bit
// x86; Tiger.cpp decides whether it is used.
#pragma once

#include "hash/Tiger.h"

namespace quillet {

// On 32-bit x86 with SSE2, where a 64-bit word would take two of the seven
// general registers and every 64-bit add, subtraction and shift two or more
// instructions. Null elsewhere.
const TigerKernels* Sse2TigerKernels();

}  // namespace quillet
