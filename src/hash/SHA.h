// SHA-1, SHA-256, SHA-384 and SHA-512 (FIPS 180-2). The 32-bit-word pair
// shares a state told apart by a variant (1 or 256), the 64-bit-word pair
// one told apart by the output size (384 or 512).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

struct Sha32State {
  uint32_t h[8];  // SHA-1 uses the first five
  uint64_t bytes;
  size_t fill;
  uint8_t buffer[64];
};

struct Sha64State {
  uint64_t h[8];
  uint64_t bytes;
  size_t fill;
  uint8_t buffer[128];
};

void Sha1Init(Sha32State& state);
void Sha256Init(Sha32State& state);
// variant is 1 (SHA-1) or 256 (SHA-256).
void Sha32Update(Sha32State& state, const uint8_t* data, size_t length, uint32_t variant);
void Sha32Final(Sha32State& state, uint32_t variant, std::string& hex);

void Sha384Init(Sha64State& state);
void Sha512Init(Sha64State& state);
void Sha64Update(Sha64State& state, const uint8_t* data, size_t length);
// bits is 384 or 512.
void Sha64Final(Sha64State& state, uint32_t bits, std::string& hex);

}  // namespace quillet
