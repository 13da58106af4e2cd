// Split invariance of the hash engine: for every identifier, feeding the
// input in pieces chosen by the fuzzer gives the one-shot result.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "hash/HashEngine.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The first eight bytes pick the piece sizes, the rest is the message.
  if (size < 8) return 0;
  // The low bit is always set so that the rotating sizes are never all zero.
  uint64_t pieces = 1;
  for (size_t i = 0; i < 8; ++i) pieces |= uint64_t{data[i]} << (8 * i);
  const std::string_view message(reinterpret_cast<const char*>(data) + 8, size - 8);

  for (uint32_t algorithm = htMD2; algorithm <= htRIPEMD160; ++algorithm) {
    std::string whole;
    if (HashString(algorithm, message, whole) != heNone) abort();

    HashContext context;
    if (HashInit(&context, algorithm) != heNone) abort();
    uint64_t sizes = pieces;
    size_t at = 0;
    while (at < message.size()) {
      // Six bits per piece: 0 to 63 bytes, then the sizes repeat rotated.
      size_t piece = static_cast<size_t>(sizes & 0x3F);
      sizes = sizes >> 6 | sizes << 58;
      if (piece > message.size() - at) piece = message.size() - at;
      if (HashUpdate(&context, message.data() + at, static_cast<uint32_t>(piece)) != heNone)
        abort();
      at += piece;
    }
    std::string split;
    if (HashFinal(&context, split) != heNone || split != whole) abort();
  }
  return 0;
}
