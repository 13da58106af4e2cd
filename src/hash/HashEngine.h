// The hash engine (formerly CryptoAPI): 21 checksum and digest algorithms
// chosen by identifier, results as lower-case hex text. Operations return
// small error codes and never throw (except the allocator's own failure).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

enum HashAlgorithm : uint32_t {
  htMD2 = 0x101,
  htMD4 = 0x102,
  htMD5 = 0x103,
  htCRC32 = 0x104,
  htCRC32B = 0x105,
  htAdler32 = 0x106,
  htGOST = 0x107,
  htHAVAL128 = 0x108,
  htHAVAL160 = 0x109,
  htHAVAL192 = 0x10A,
  htHAVAL224 = 0x10B,
  htHAVAL256 = 0x10C,
  htSHA1 = 0x10D,
  htSHA256 = 0x10E,
  htSHA384 = 0x10F,
  htSHA512 = 0x110,
  htTiger128 = 0x111,
  htTiger160 = 0x112,
  htTiger192 = 0x113,
  htRIPEMD128 = 0x114,
  htRIPEMD160 = 0x115,
};

enum HashError : uint32_t {
  heNone = 0,
  heUnknownType = 1,
  heNullContext = 2,
  heInvalidContext = 3,
};

// One computation. state belongs to the engine: set by HashInit, released by
// HashFinal; passes is 3 for HAVAL and Tiger.
struct HashContext {
  void* state = nullptr;
  uint32_t algorithm = 0;
  int32_t passes = 0;
};

HashError HashInit(HashContext* context, uint32_t algorithm);
// data may be null when length is 0; a null data pointer with a non-zero
// length feeds nothing and answers heInvalidContext.
HashError HashUpdate(HashContext* context, const void* data, uint32_t length);
// HashUpdate for lengths beyond 32 bits.
HashError HashFeed(HashContext* context, const void* data, size_t length);
// Replaces hex with the result and releases the state; a context without
// state answers heInvalidContext.
HashError HashFinal(HashContext* context, std::string& hex);
HashError HashString(uint32_t algorithm, std::string_view text, std::string& hex);
// Replaces text with the description of code.
void HashErrorText(uint32_t code, std::string& text);

}  // namespace quillet
