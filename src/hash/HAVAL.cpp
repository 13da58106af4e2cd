// HAVAL: the block transform is unrolled at compile time for 3, 4 and 5 passes
// and reads whole blocks straight from the caller's data.
#include "hash/HAVAL.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "hash/CryptoUtils.h"

namespace quillet {
namespace {

// The fractional part of pi: the initial fingerprint, then 32 constants for
// each pass after the first.
constexpr uint32_t kInitial[8] = {0x243F6A88, 0x85A308D3, 0x13198A2E, 0x03707344,
                                  0xA4093822, 0x299F31D0, 0x082EFA98, 0xEC4E6C89};
constexpr uint32_t kConstants[5][32] = {
    {},
    {0x452821E6, 0x38D01377, 0xBE5466CF, 0x34E90C6C, 0xC0AC29B7, 0xC97C50DD, 0x3F84D5B5,
     0xB5470917, 0x9216D5D9, 0x8979FB1B, 0xD1310BA6, 0x98DFB5AC, 0x2FFD72DB, 0xD01ADFB7,
     0xB8E1AFED, 0x6A267E96, 0xBA7C9045, 0xF12C7F99, 0x24A19947, 0xB3916CF7, 0x0801F2E2,
     0x858EFC16, 0x636920D8, 0x71574E69, 0xA458FEA3, 0xF4933D7E, 0x0D95748F, 0x728EB658,
     0x718BCD58, 0x82154AEE, 0x7B54A41D, 0xC25A59B5},
    {0x9C30D539, 0x2AF26013, 0xC5D1B023, 0x286085F0, 0xCA417918, 0xB8DB38EF, 0x8E79DCB0,
     0x603A180E, 0x6C9E0E8B, 0xB01E8A3E, 0xD71577C1, 0xBD314B27, 0x78AF2FDA, 0x55605C60,
     0xE65525F3, 0xAA55AB94, 0x57489862, 0x63E81440, 0x55CA396A, 0x2AAB10B6, 0xB4CC5C34,
     0x1141E8CE, 0xA15486AF, 0x7C72E993, 0xB3EE1411, 0x636FBC2A, 0x2BA9C55D, 0x741831F6,
     0xCE5C3E16, 0x9B87931E, 0xAFD6BA33, 0x6C24CF5C},
    {0x7A325381, 0x28958677, 0x3B8F4898, 0x6B4BB9AF, 0xC4BFE81B, 0x66282193, 0x61D809CC,
     0xFB21A991, 0x487CAC60, 0x5DEC8032, 0xEF845D5D, 0xE98575B1, 0xDC262302, 0xEB651B88,
     0x23893E81, 0xD396ACC5, 0x0F6D6FF3, 0x83F44239, 0x2E0B4482, 0xA4842004, 0x69C8F04A,
     0x9E1F9B5E, 0x21C66842, 0xF6E96C9A, 0x670C9C61, 0xABD388F0, 0x6A51A0D2, 0xD8542F68,
     0x960FA728, 0xAB5133A3, 0x6EEF0B6C, 0x137A3BE4},
    {0xBA3BF050, 0x7EFB2A98, 0xA1F1651D, 0x39AF0176, 0x66CA593E, 0x82430E88, 0x8CEE8619,
     0x456F9FB4, 0x7D84A5C3, 0x3B8B5EBE, 0xE06F75D8, 0x85C12073, 0x401A449F, 0x56C16AA6,
     0x4ED3AA62, 0x363F7706, 0x1BFEDF72, 0x429B023D, 0x37D0D724, 0xD00A1248, 0xDB0FEAD3,
     0x49F1C09B, 0x075372C9, 0x80991B7B, 0x25D479D8, 0xF6E8DEF7, 0xE3FE501A, 0xB6794C3B,
     0x976CE0BD, 0x04C006BA, 0xC1A94FB6, 0x409F60C4},
};

// The order in which each pass reads the 32 message words.
constexpr uint8_t kWordOrder[5][32] = {
    {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
     16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31},
    {5,  14, 26, 18, 11, 28, 7,  16, 0,  23, 20, 22, 1, 10, 4,  8,
     30, 3,  21, 9,  17, 24, 29, 6,  19, 12, 15, 13, 2, 25, 31, 27},
    {19, 9,  4, 20, 28, 17, 8,  22, 29, 14, 25, 12, 24, 30, 16, 26,
     31, 15, 7, 3,  1,  0,  18, 27, 13, 6,  21, 10, 23, 11, 5,  2},
    {24, 4,  0,  14, 2, 7,  28, 23, 26, 6,  30, 20, 18, 25, 19, 3,
     22, 11, 31, 21, 8, 27, 12, 9,  1,  29, 5,  15, 17, 10, 16, 13},
    {27, 3, 21, 26, 17, 11, 20, 29, 19, 0,  12, 7,  13, 8, 31, 10,
     5,  9, 14, 30, 18, 6,  28, 24, 2,  23, 16, 22, 4,  1, 25, 15},
};

// The Boolean functions F1 to F5, arguments named x6 down to x0.
constexpr uint32_t F1(uint32_t x6, uint32_t x5, uint32_t x4, uint32_t x3, uint32_t x2, uint32_t x1,
                      uint32_t x0) {
  return (x1 & (x0 ^ x4)) ^ (x2 & x5) ^ (x3 & x6) ^ x0;
}
// F2 and F3 are rearranged (same values) so that x3 of F2 and x0 of F3, the
// words the previous step has just written when 3 passes are run, pass
// through as few operations as possible.
constexpr uint32_t F2(uint32_t x6, uint32_t x5, uint32_t x4, uint32_t x3, uint32_t x2, uint32_t x1,
                      uint32_t x0) {
  const uint32_t x12 = x1 & x2;
  return x12 ^ (x3 & (x5 ^ x12)) ^ (x2 & ((x4 & x5) ^ x6 ^ x0)) ^ (x4 & (x1 ^ x5)) ^ x0;
}
constexpr uint32_t F3(uint32_t x6, uint32_t x5, uint32_t x4, uint32_t x3, uint32_t x2, uint32_t x1,
                      uint32_t x0) {
  return (x3 & ((x1 & x2) ^ x6)) ^ (x0 & ~x3) ^ (x1 & x4) ^ (x2 & x5);
}
constexpr uint32_t F4(uint32_t x6, uint32_t x5, uint32_t x4, uint32_t x3, uint32_t x2, uint32_t x1,
                      uint32_t x0) {
  return (x4 & ((x5 & ~x2) ^ (x3 & ~x6) ^ x1 ^ x6 ^ x0)) ^ (x3 & ((x1 & x2) ^ x5 ^ x6)) ^
         (x2 & x6) ^ x0;
}
constexpr uint32_t F5(uint32_t x6, uint32_t x5, uint32_t x4, uint32_t x3, uint32_t x2, uint32_t x1,
                      uint32_t x0) {
  return (x0 & ((x1 & x2 & x3) ^ ~x5)) ^ (x1 & x4) ^ (x2 & x5) ^ (x3 & x6);
}

// Pass number pass (0-based) of a transform with passes passes: its Boolean
// function with the input permutation the definition prescribes for that count.
template <int pass, int passes>
constexpr uint32_t Phi(uint32_t x6, uint32_t x5, uint32_t x4, uint32_t x3, uint32_t x2, uint32_t x1,
                       uint32_t x0) {
  if constexpr (pass == 0) {
    if constexpr (passes == 3) return F1(x1, x0, x3, x5, x6, x2, x4);
    if constexpr (passes == 4) return F1(x2, x6, x1, x4, x5, x3, x0);
    if constexpr (passes == 5) return F1(x3, x4, x1, x0, x5, x2, x6);
  } else if constexpr (pass == 1) {
    if constexpr (passes == 3) return F2(x4, x2, x1, x0, x5, x3, x6);
    if constexpr (passes == 4) return F2(x3, x5, x2, x0, x1, x6, x4);
    if constexpr (passes == 5) return F2(x6, x2, x1, x0, x3, x4, x5);
  } else if constexpr (pass == 2) {
    if constexpr (passes == 3) return F3(x6, x1, x2, x3, x4, x5, x0);
    if constexpr (passes == 4) return F3(x1, x4, x3, x6, x0, x2, x5);
    if constexpr (passes == 5) return F3(x2, x6, x0, x4, x3, x1, x5);
  } else if constexpr (pass == 3) {
    if constexpr (passes == 4) return F4(x6, x4, x0, x5, x2, x1, x3);
    if constexpr (passes == 5) return F4(x1, x5, x3, x2, x0, x4, x6);
  } else {
    return F5(x2, x5, x0, x6, x4, x3, x1);
  }
}

// Step step of a pass replaces working word 7 - step (mod 8); the other seven
// words enter the Boolean function in the rotated order of the definition.
// The steps are inlined by force so that the working words stay in registers.
template <int pass, int passes, size_t step>
[[gnu::always_inline]] inline void Step(uint32_t (&t)[8], const uint32_t (&w)[32]) {
  constexpr size_t s = step % 8;
  uint32_t& x7 = t[(15 - s) % 8];
  const uint32_t f =
      Phi<pass, passes>(t[(14 - s) % 8], t[(13 - s) % 8], t[(12 - s) % 8], t[(11 - s) % 8],
                        t[(10 - s) % 8], t[(9 - s) % 8], t[(8 - s) % 8]);
  x7 = RotR32(f, 7) + RotR32(x7, 11) + w[kWordOrder[pass][step]] + kConstants[pass][step];
}

template <int pass, int passes, size_t... steps>
[[gnu::always_inline]] inline void PassSteps(uint32_t (&t)[8], const uint32_t (&w)[32],
                                             std::index_sequence<steps...>) {
  (Step<pass, passes, steps>(t, w), ...);
}

template <int passes, int... passNumbers>
[[gnu::always_inline]] inline void AllPasses(uint32_t (&t)[8], const uint32_t (&w)[32],
                                             std::integer_sequence<int, passNumbers...>) {
  (PassSteps<passNumbers, passes>(t, w, std::make_index_sequence<32>()), ...);
}

template <int passes>
void Transform(uint32_t (&fingerprint)[8], const uint8_t* block) {
  uint32_t w[32];
  std::memcpy(w, block, sizeof w);
  if constexpr (std::endian::native == std::endian::big) {
    for (uint32_t& word : w) word = ByteSwap32(word);
  }
  uint32_t t[8];
  std::copy(fingerprint, fingerprint + 8, t);
  AllPasses<passes>(t, w, std::make_integer_sequence<int, passes>());
  for (size_t i = 0; i < 8; ++i) fingerprint[i] += t[i];
}

int32_t ClampPasses(int32_t passes) {
  return std::clamp<int32_t>(passes, 3, 5);
}

// Transforms count whole blocks; passes is already clamped.
void TransformBlocks(uint32_t (&fingerprint)[8], const uint8_t* blocks, size_t count,
                     int32_t passes) {
  for (; count > 0; --count, blocks += 128) {
    if (passes == 3) {
      Transform<3>(fingerprint, blocks);
    } else if (passes == 4) {
      Transform<4>(fingerprint, blocks);
    } else {
      Transform<5>(fingerprint, blocks);
    }
  }
}

// Folds the 256-bit fingerprint to bits bits: bit fields of the trailing words
// are added into the leading ones.
void Tailor(uint32_t (&f)[8], uint32_t bits) {
  switch (bits) {
    case 128:
      f[0] += RotR32(
          (f[7] & 0x000000FF) | (f[6] & 0xFF000000) | (f[5] & 0x00FF0000) | (f[4] & 0x0000FF00), 8);
      f[1] += RotR32(
          (f[7] & 0x0000FF00) | (f[6] & 0x000000FF) | (f[5] & 0xFF000000) | (f[4] & 0x00FF0000),
          16);
      f[2] += RotR32(
          (f[7] & 0x00FF0000) | (f[6] & 0x0000FF00) | (f[5] & 0x000000FF) | (f[4] & 0xFF000000),
          24);
      f[3] += (f[7] & 0xFF000000) | (f[6] & 0x00FF0000) | (f[5] & 0x0000FF00) | (f[4] & 0x000000FF);
      break;
    case 160:
      f[0] += RotR32((f[7] & 0x3F) | (f[6] & (0x7Fu << 25)) | (f[5] & (0x3Fu << 19)), 19);
      f[1] += RotR32((f[7] & (0x3Fu << 6)) | (f[6] & 0x3F) | (f[5] & (0x7Fu << 25)), 25);
      f[2] += (f[7] & (0x7Fu << 12)) | (f[6] & (0x3Fu << 6)) | (f[5] & 0x3F);
      f[3] += ((f[7] & (0x3Fu << 19)) | (f[6] & (0x7Fu << 12)) | (f[5] & (0x3Fu << 6))) >> 6;
      f[4] += ((f[7] & (0x7Fu << 25)) | (f[6] & (0x3Fu << 19)) | (f[5] & (0x7Fu << 12))) >> 12;
      break;
    case 192:
      f[0] += RotR32((f[7] & 0x1F) | (f[6] & (0x3Fu << 26)), 26);
      f[1] += (f[7] & (0x1Fu << 5)) | (f[6] & 0x1F);
      f[2] += ((f[7] & (0x3Fu << 10)) | (f[6] & (0x1Fu << 5))) >> 5;
      f[3] += ((f[7] & (0x1Fu << 16)) | (f[6] & (0x3Fu << 10))) >> 10;
      f[4] += ((f[7] & (0x1Fu << 21)) | (f[6] & (0x1Fu << 16))) >> 16;
      f[5] += ((f[7] & (0x3Fu << 26)) | (f[6] & (0x1Fu << 21))) >> 21;
      break;
    case 224:
      f[0] += (f[7] >> 27) & 0x1F;
      f[1] += (f[7] >> 22) & 0x1F;
      f[2] += (f[7] >> 18) & 0x0F;
      f[3] += (f[7] >> 13) & 0x1F;
      f[4] += (f[7] >> 9) & 0x0F;
      f[5] += (f[7] >> 4) & 0x1F;
      f[6] += f[7] & 0x0F;
      break;
    default:  // 256 bits: nothing to fold
      break;
  }
}

}  // namespace

void HavalInit(HavalState& state) {
  state = {};
  std::copy(kInitial, kInitial + 8, state.fingerprint);
}

void HavalUpdate(HavalState& state, const uint8_t* data, size_t length, int32_t passes) {
  passes = ClampPasses(passes);
  // The bytes waiting in the block follow from the message length.
  size_t fill = static_cast<size_t>(state.count >> 3) % 128;
  state.count += static_cast<uint64_t>(length) << 3;
  FeedBlocks(state.block, fill, data, length, [&](const uint8_t* blocks, size_t count) {
    TransformBlocks(state.fingerprint, blocks, count, passes);
  });
}

void HavalFinal(HavalState& state, int32_t passes, uint32_t bits, std::string& hex) {
  HavalFinalPadded(state, passes, bits, 0x80, hex);
}

void HavalFinalPadded(HavalState& state, int32_t passes, uint32_t bits, uint8_t padding,
                      std::string& hex) {
  passes = ClampPasses(passes);
  // The tail carries the length before padding.
  uint8_t tail[10] = {
      static_cast<uint8_t>(((bits & 3) << 6) | ((static_cast<uint32_t>(passes) & 7) << 3) | 1),
      static_cast<uint8_t>(bits >> 2)};
  for (unsigned i = 0; i < 8; ++i) tail[2 + i] = static_cast<uint8_t>(state.count >> (8 * i));
  const size_t used = static_cast<size_t>(state.count >> 3) % 128;
  uint8_t pad[128] = {padding};
  HavalUpdate(state, pad, used < 118 ? 118 - used : 246 - used, passes);
  HavalUpdate(state, tail, sizeof tail, passes);
  Tailor(state.fingerprint, bits);
  const size_t bytes = std::min<uint32_t>(bits, 256) / 8;
  hex.clear();
  for (size_t i = 0; i < bytes; ++i) {
    AppendValueHex(hex, 2, state.fingerprint[i / 4] >> (8 * (i % 4)));
  }
  state = {};
}

}  // namespace quillet
