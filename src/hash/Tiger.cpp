// Tiger: the S-boxes are generated at compile time by the definition's own rule
// (Tiger compressing its seed text while the boxes are being shuffled), and whole
// blocks are compressed straight from the caller's data.
#include "hash/Tiger.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "hash/CryptoUtils.h"
#include "hash/Tiger_x86.h"

namespace quillet {
namespace {

struct SBoxes {
  uint64_t box[4][256];
};
using Chain = uint64_t[3];
using Words = uint64_t[8];

constexpr uint64_t kInitialA = 0x0123456789ABCDEFull;
constexpr uint64_t kInitialB = 0xFEDCBA9876543210ull;
constexpr uint64_t kInitialC = 0xF096A5B4C3B2E187ull;

// One round: c takes the message word, a and b take four S-box look-ups each.
// Bytes are taken in place rather than by calls so that the compile-time
// generation of the boxes stays within the compilers' evaluation limits; rounds
// and passes are inlined by force so that a, b and c stay in registers.
[[gnu::always_inline]] constexpr void Round(const SBoxes& t, uint64_t& a, uint64_t& b, uint64_t& c,
                                            uint64_t x, uint64_t multiplier) {
  c ^= x;
  a -= (t.box[0][static_cast<uint8_t>(c)] ^ t.box[1][static_cast<uint8_t>(c >> 16)]) ^
       (t.box[2][static_cast<uint8_t>(c >> 32)] ^ t.box[3][static_cast<uint8_t>(c >> 48)]);
  b += (t.box[3][static_cast<uint8_t>(c >> 8)] ^ t.box[2][static_cast<uint8_t>(c >> 24)]) ^
       (t.box[1][static_cast<uint8_t>(c >> 40)] ^ t.box[0][static_cast<uint8_t>(c >> 56)]);
  b *= multiplier;
}

[[gnu::always_inline]] constexpr void Pass(const SBoxes& t, uint64_t& a, uint64_t& b, uint64_t& c,
                                           const Words& x, uint64_t multiplier) {
  Round(t, a, b, c, x[0], multiplier);
  Round(t, b, c, a, x[1], multiplier);
  Round(t, c, a, b, x[2], multiplier);
  Round(t, a, b, c, x[3], multiplier);
  Round(t, b, c, a, x[4], multiplier);
  Round(t, c, a, b, x[5], multiplier);
  Round(t, a, b, c, x[6], multiplier);
  Round(t, b, c, a, x[7], multiplier);
}

[[gnu::always_inline]] constexpr void KeySchedule(Words& x) {
  x[0] -= x[7] ^ 0xA5A5A5A5A5A5A5A5ull;
  x[1] ^= x[0];
  x[2] += x[1];
  x[3] -= x[2] ^ (~x[1] << 19);
  x[4] ^= x[3];
  x[5] += x[4];
  x[6] -= x[5] ^ (~x[4] >> 23);
  x[7] ^= x[6];
  x[0] += x[7];
  x[1] -= x[0] ^ (~x[7] << 19);
  x[2] ^= x[1];
  x[3] += x[2];
  x[4] -= x[3] ^ (~x[2] >> 23);
  x[5] ^= x[4];
  x[6] += x[5];
  x[7] -= x[6] ^ 0x0123456789ABCDEFull;
}

// The roles of a, b and c rotate after every pass; after three passes they are
// back in place, every further pass leaves them rotated once more.
constexpr void Compress(const SBoxes& t, Words& x, Chain& chain, int32_t passes) {
  uint64_t a = chain[0], b = chain[1], c = chain[2];
  Pass(t, a, b, c, x, 5);
  KeySchedule(x);
  Pass(t, c, a, b, x, 7);
  KeySchedule(x);
  Pass(t, b, c, a, x, 9);
  for (int32_t pass = 3; pass < passes; ++pass) {
    KeySchedule(x);
    Pass(t, a, b, c, x, 9);
    const uint64_t saved = a;
    a = c;
    c = b;
    b = saved;
  }
  chain[0] ^= a;
  chain[1] = b - chain[1];
  chain[2] += c;
}

// Every box starts as the identity in each byte column; five times over, each
// entry's columns are swapped with the entries that the bytes of a chaining word
// name, and every third step Tiger compresses the seed text once more, with the
// boxes as they stand.
constexpr SBoxes GenerateSBoxes() {
  SBoxes table{};
  for (auto& box : table.box) {
    for (unsigned i = 0; i < 256; ++i) box[i] = i * 0x0101010101010101ull;
  }
  constexpr char kSeed[] = "Tiger - A Fast New Hash Function, by Ross Anderson and Eli Biham";
  static_assert(sizeof kSeed == 65);
  Words seed{};
  for (unsigned i = 0; i < 64; ++i) {
    seed[i / 8] |= static_cast<uint64_t>(static_cast<uint8_t>(kSeed[i])) << (8 * (i % 8));
  }
  Chain chain = {kInitialA, kInitialB, kInitialC};
  unsigned word = 2;
  for (int round = 0; round < 5; ++round) {
    for (unsigned i = 0; i < 256; ++i) {
      for (auto& box : table.box) {
        if (++word == 3) {
          word = 0;
          Words x = {seed[0], seed[1], seed[2], seed[3], seed[4], seed[5], seed[6], seed[7]};
          Compress(table, x, chain, 3);
        }
        for (unsigned column = 0; column < 8; ++column) {
          uint64_t& other = box[static_cast<uint8_t>(chain[word] >> (8 * column))];
          const uint64_t swapped = (box[i] ^ other) & (uint64_t{0xFF} << (8 * column));
          box[i] ^= swapped;
          other ^= swapped;
        }
      }
    }
  }
  return table;
}

constexpr SBoxes kSBoxes = GenerateSBoxes();
static_assert(kSBoxes.box[0][0] == 0x02AAB17CF7E90C5Eull, "first entry of the first box");

void PortableBlocks(uint64_t (&chain)[3], const uint8_t* blocks, size_t count, int32_t passes) {
  for (; count > 0; --count, blocks += 64) {
    Words x;
    for (unsigned j = 0; j < 8; ++j) x[j] = LoadLE64(blocks + 8 * j);
    Compress(kSBoxes, x, chain, passes);
  }
}

constexpr TigerKernels kPortable = {PortableBlocks};

constexpr std::array<KernelVariant<TigerKernels>, 1> kVariants = {{
    {"sse2", Sse2TigerKernels},
}};

void CompressBlocks(TigerState& state, const uint8_t* blocks, size_t count, int32_t passes) {
  uint64_t chain[3] = {state.a, state.b, state.c};
  ChosenTigerKernels().kernels->blocks(chain, blocks, count, passes);
  state.a = chain[0];
  state.b = chain[1];
  state.c = chain[2];
}

}  // namespace

const TigerKernels& PortableTigerKernels() {
  return kPortable;
}

bool TigerSelfTest(const TigerKernels& candidate) {
  constexpr size_t kBlocks = kSelfTestBytes / 64;
  for (int32_t passes : {3, 4, 5}) {
    uint64_t expected[3] = {kInitialA, kInitialB, kInitialC};
    uint64_t actual[3] = {kInitialA, kInitialB, kInitialC};
    const uint8_t* blocks = kSelfTestData.data();
    for (size_t count : {size_t{1}, size_t{2}, kBlocks - 3}) {
      kPortable.blocks(expected, blocks, count, passes);
      candidate.blocks(actual, blocks, count, passes);
      blocks += 64 * count;
    }
    if (!std::equal(expected, expected + 3, actual)) return false;
  }
  return true;
}

const KernelChoice<TigerKernels>& ChosenTigerKernels() {
  static const KernelChoice<TigerKernels> choice =
      ChooseKernels(kPortable, kVariants, TigerSelfTest);
  return choice;
}

const TigerSBoxes& TigerTables() {
  return kSBoxes.box;
}

void TigerInit(TigerState& state) {
  state = {};
  state.a = kInitialA;
  state.b = kInitialB;
  state.c = kInitialC;
}

void TigerUpdate(TigerState& state, const uint8_t* data, size_t length, int32_t passes) {
  state.length += length;
  FeedBlocks(state.buffer, state.fill, data, length, [&](const uint8_t* blocks, size_t count) {
    CompressBlocks(state, blocks, count, passes);
  });
}

void TigerFinal(TigerState& state, uint32_t bits, int32_t passes, std::string& hex) {
  uint8_t block[64] = {};
  std::memcpy(block, state.buffer, state.fill);
  block[state.fill] = 0x01;
  if (state.fill + 1 > 56) {
    CompressBlocks(state, block, 1, passes);
    std::memset(block, 0, sizeof block);
  }
  const uint64_t bitLength = state.length * 8;
  for (unsigned i = 0; i < 8; ++i) block[56 + i] = static_cast<uint8_t>(bitLength >> (8 * i));
  CompressBlocks(state, block, 1, passes);
  hex.clear();
  for (uint64_t word : {state.a, state.b, state.c}) AppendValueHex(hex, 16, word);
  hex.resize(std::min<uint32_t>(bits, 192) / 8 * 2);
}

}  // namespace quillet
