// CRC-32 in both bit orders. The portable kernels take sixteen bytes per
// step: each byte position of a 16-byte group has a table of its own (the
// byte's effect after the zeros that follow it), built at compile time from
// the one-byte table. Processors with carry-less multiplication fold whole
// blocks instead (CRC_x86.h); the tables still take their tails.
#include "hash/CRC.h"

#include <array>

#include "hash/CRC_x86.h"
#include "hash/CryptoUtils.h"

namespace quillet {
namespace {

constexpr size_t kSlices = 16;
using CrcTables = std::array<std::array<uint32_t, 256>, kSlices>;

constexpr CrcTables MakeMsbFirstTables() {
  CrcTables tables{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t reg = i << 24;
    for (int bit = 0; bit < 8; ++bit)
      reg = (reg & 0x80000000u) ? (reg << 1) ^ 0x04C11DB7u : reg << 1;
    tables[0][i] = reg;
  }
  for (size_t k = 1; k < kSlices; ++k)
    for (size_t i = 0; i < 256; ++i)
      tables[k][i] = (tables[k - 1][i] << 8) ^ tables[0][tables[k - 1][i] >> 24];
  return tables;
}

constexpr CrcTables MakeReflectedTables() {
  CrcTables tables{};
  for (uint32_t i = 0; i < 256; ++i) {
    uint32_t reg = i;
    for (int bit = 0; bit < 8; ++bit) reg = (reg & 1u) ? (reg >> 1) ^ 0xEDB88320u : reg >> 1;
    tables[0][i] = reg;
  }
  for (size_t k = 1; k < kSlices; ++k)
    for (size_t i = 0; i < 256; ++i)
      tables[k][i] = (tables[k - 1][i] >> 8) ^ tables[0][tables[k - 1][i] & 0xFF];
  return tables;
}

constexpr CrcTables kMsbFirst = MakeMsbFirstTables();
constexpr CrcTables kReflected = MakeReflectedTables();
static_assert(kMsbFirst[0][1] == 0x04C11DB7u);
static_assert(kReflected[0][1] == 0x77073096u);

// In both kernels the twelve look-ups of the bytes beyond the first word do
// not depend on the register; combining them first leaves only four look-ups
// on the chain from one group to the next.
void MsbFirstBySlices(uint32_t& crc, const uint8_t* data, size_t length) {
  const auto& t = kMsbFirst;
  uint32_t reg = crc;
  for (; length >= kSlices; length -= kSlices, data += kSlices) {
    const uint32_t b = LoadBE32(data + 4), c = LoadBE32(data + 8), d = LoadBE32(data + 12);
    const uint32_t rest =
        (t[11][b >> 24] ^ t[10][(b >> 16) & 0xFF] ^ t[9][(b >> 8) & 0xFF] ^ t[8][b & 0xFF]) ^
        (t[7][c >> 24] ^ t[6][(c >> 16) & 0xFF] ^ t[5][(c >> 8) & 0xFF] ^ t[4][c & 0xFF]) ^
        (t[3][d >> 24] ^ t[2][(d >> 16) & 0xFF] ^ t[1][(d >> 8) & 0xFF] ^ t[0][d & 0xFF]);
    const uint32_t a = reg ^ LoadBE32(data);
    reg = rest ^ (t[15][a >> 24] ^ t[14][(a >> 16) & 0xFF]) ^
          (t[13][(a >> 8) & 0xFF] ^ t[12][a & 0xFF]);
  }
  for (; length > 0; --length, ++data) reg = (reg << 8) ^ t[0][(reg >> 24) ^ *data];
  crc = reg;
}

void ReflectedBySlices(uint32_t& crc, const uint8_t* data, size_t length) {
  const auto& t = kReflected;
  uint32_t reg = crc;
  for (; length >= kSlices; length -= kSlices, data += kSlices) {
    const uint32_t b = LoadLE32(data + 4), c = LoadLE32(data + 8), d = LoadLE32(data + 12);
    const uint32_t rest =
        (t[11][b & 0xFF] ^ t[10][(b >> 8) & 0xFF] ^ t[9][(b >> 16) & 0xFF] ^ t[8][b >> 24]) ^
        (t[7][c & 0xFF] ^ t[6][(c >> 8) & 0xFF] ^ t[5][(c >> 16) & 0xFF] ^ t[4][c >> 24]) ^
        (t[3][d & 0xFF] ^ t[2][(d >> 8) & 0xFF] ^ t[1][(d >> 16) & 0xFF] ^ t[0][d >> 24]);
    const uint32_t a = reg ^ LoadLE32(data);
    reg = rest ^ (t[15][a & 0xFF] ^ t[14][(a >> 8) & 0xFF]) ^
          (t[13][(a >> 16) & 0xFF] ^ t[12][a >> 24]);
  }
  for (; length > 0; --length, ++data) reg = (reg >> 8) ^ t[0][(reg ^ *data) & 0xFF];
  crc = reg;
}

constexpr CrcKernels kPortable = {MsbFirstBySlices, ReflectedBySlices};

constexpr std::array<KernelVariant<CrcKernels>, 3> kVariants = {{
    {"avx512", Avx512CrcKernels},
    {"vpclmul", VpclmulCrcKernels},
    {"pclmul", PclmulCrcKernels},
}};

// Both orders from a few starting registers, over every length up to the
// whole input at several alignments: the accelerated kernels switch between
// their wide loops, their narrow loops and the table tails by length.
bool AgreesOn(const CrcKernels& candidate, size_t offset, size_t length, uint32_t start) {
  const uint8_t* data = kSelfTestData.data() + offset;
  uint32_t expected = start, actual = start;
  kPortable.msbFirst(expected, data, length);
  candidate.msbFirst(actual, data, length);
  if (expected != actual) return false;
  expected = actual = start;
  kPortable.reflected(expected, data, length);
  candidate.reflected(actual, data, length);
  return expected == actual;
}

}  // namespace

const CrcKernels& PortableCrcKernels() {
  return kPortable;
}

bool CrcSelfTest(const CrcKernels& candidate) {
  constexpr size_t kOffsets = 16;
  for (size_t length = 0; length + kOffsets <= kSelfTestBytes; length += 1 + length / 4) {
    const uint32_t start = 0xFFFFFFFFu - static_cast<uint32_t>(length) * 0x9E3779B9u;
    for (size_t offset = 0; offset < kOffsets; offset += 5)
      if (!AgreesOn(candidate, offset, length, start)) return false;
  }
  return AgreesOn(candidate, 0, kSelfTestBytes, 0xFFFFFFFFu);
}

const KernelChoice<CrcKernels>& ChosenCrcKernels() {
  static const KernelChoice<CrcKernels> choice = ChooseKernels(kPortable, kVariants, CrcSelfTest);
  return choice;
}

void CrcInit(uint32_t& crc) {
  crc = 0xFFFFFFFFu;
}

void Crc32Update(uint32_t& crc, const uint8_t* data, size_t length) {
  ChosenCrcKernels().kernels->msbFirst(crc, data, length);
}

void Crc32BUpdate(uint32_t& crc, const uint8_t* data, size_t length) {
  ChosenCrcKernels().kernels->reflected(crc, data, length);
}

void CrcFinal(uint32_t& crc, std::string& hex) {
  crc = ~ByteSwap32(crc);
  hex.clear();
  AppendValueHex(hex, 8, crc);
}

}  // namespace quillet
