// CRC-32 of the polynomial 0x04C11DB7 in both bit orders: CRC32 shifts the
// most significant bit first, CRC32B is the reflected (zlib) form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "hash/Kernels.h"

namespace quillet {

void CrcInit(uint32_t& crc);
void Crc32Update(uint32_t& crc, const uint8_t* data, size_t length);
void Crc32BUpdate(uint32_t& crc, const uint8_t* data, size_t length);
// Replaces hex with the checksum's four bytes, least significant first.
void CrcFinal(uint32_t& crc, std::string& hex);

// One implementation of the two updates: each folds length bytes into the
// register and leaves it as the byte-at-a-time rule of its order would.
struct CrcKernels {
  void (*msbFirst)(uint32_t& crc, const uint8_t* data, size_t length);
  void (*reflected)(uint32_t& crc, const uint8_t* data, size_t length);
};

// The table-driven kernels: every processor, any length, and the short
// inputs and tails of the accelerated kernels.
const CrcKernels& PortableCrcKernels();
// True when candidate leaves the portable kernels' registers on the
// self-test input, cut at many lengths and alignments, in both orders.
bool CrcSelfTest(const CrcKernels& candidate);
const KernelChoice<CrcKernels>& ChosenCrcKernels();

}  // namespace quillet
