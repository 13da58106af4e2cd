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

// The block transforms of the 32-bit-word pair, which come in a portable and
// (on some processors) an accelerated kind: each adds count whole blocks of
// 64 bytes to h.
using Sha32Transform = void (*)(uint32_t (&h)[8], const uint8_t* blocks, size_t count);
struct Sha32Transforms {
  Sha32Transform sha1;
  Sha32Transform sha256;
};

// Which transforms the updates use, decided at the first use: accelerated ones
// only where the processor has them and they pass the self-test.
enum class Sha32Path { Portable, Accelerated, AcceleratedFailedSelfTest };

const Sha32Transforms& PortableSha32Transforms();
// True when candidate leaves the same states as the portable transforms
// after a single block and after a run of blocks, for both algorithms.
bool Sha32SelfTest(const Sha32Transforms& candidate);
Sha32Path ChosenSha32Path();

// The round constants of SHA-256, for both kinds of transform.
inline constexpr uint32_t kSha256Constants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

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
