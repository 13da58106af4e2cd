// MD2 (RFC 1319), MD4 (RFC 1320) and MD5 (RFC 1321).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

struct MD2State {
  uint8_t x[48];  // 0..15 running state, 16..31 the block, 32..47 block XOR state
  uint8_t checksum[16];
  size_t fill;  // bytes of the current block held in buffer
  uint8_t buffer[16];
};

void MD2Init(MD2State& state);
void MD2Update(MD2State& state, const uint8_t* data, size_t length);
void MD2Final(MD2State& state, std::string& hex);

// The state MD4 and MD5 share; the block transform tells them apart.
struct MDState {
  uint32_t h[4];
  uint64_t bytes;  // message length so far
  size_t fill;
  uint8_t buffer[64];
};

// Compresses count consecutive 64-byte blocks into h.
using MDTransform = void (*)(uint32_t (&h)[4], const uint8_t* blocks, size_t count);
void MD4Transform(uint32_t (&h)[4], const uint8_t* blocks, size_t count);
void MD5Transform(uint32_t (&h)[4], const uint8_t* blocks, size_t count);

void MDInit(MDState& state);
void MDUpdate(MDState& state, const uint8_t* data, size_t length, MDTransform transform);
void MDFinal(MDState& state, MDTransform transform, std::string& hex);

}  // namespace quillet
